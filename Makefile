# Convenience front door. Every target first makes sure the Debian packages are
# there (scripts/install-deps is quick when nothing is missing).
BUILD ?= build
CMAKE_FLAGS ?=
ARGS ?=

.PHONY: all deps configure build test run install bench clean

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

run: build
	$(BUILD)/bin/whirlpane $(ARGS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

bench: build
	bench/run $(BUILD)/bin/whirlpane

clean:
	rm -rf $(BUILD)
