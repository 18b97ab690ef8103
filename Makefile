# Convenience front door. Every target first makes sure the Debian packages are
# there (scripts/install-deps is quick when nothing is missing).
BUILD ?= build
CMAKE_FLAGS ?=
ARGS ?=

.PHONY: all deps configure build test test-asan run install bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j 2

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# with LeakSanitizer reporting leaks that pass through our code (the
# libraries' own start-up allocations are listed in tests/sanitizers).
ASAN_BUILD ?= build-asan
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWHIRLPANE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_odr_violation=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/leaks.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j 2

run: build
	$(BUILD)/bin/whirlpane $(ARGS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

bench: build
	bench/run $(BUILD)/bin/whirlpane

clean:
	rm -rf $(BUILD)
