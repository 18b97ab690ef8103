# SPDX-License-Identifier: GPL-3.0-or-later
# Convenience front door. Every target first makes sure the Debian packages it
# needs are there (scripts/install-deps is quick when nothing is missing):
# building, running, installing and packing need the default layer, the tests
# and the tree's checks `--test`, the pictures `--screenshots`, the benchmarks
# `--bench`, fuzzing `--fuzz`.
BUILD ?= build
CMAKE_FLAGS ?=
ARGS ?=
# Where `make screenshots` writes its pictures; CI points it elsewhere, so that
# taking them leaves the tree as it was.
SCREENSHOTS ?= docs

.PHONY: all deps test-deps configure build test test-asan check-tree fuzz run install deb bench screenshots clean

all: build

deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --test

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD)

# Configured again, so that a tree first built without the test packages
# picks up GoogleTest.
test: test-deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)
	ctest --test-dir $(BUILD) --output-on-failure -j 2

# The tree's own rules: every tracked C++ source formatted by .clang-format, no
# engine folder including from a higher layer (see engine/README.md), and every
# source file naming its licence (scripts/check-licence lists those that do not).
check-tree: test-deps
	git ls-files -z '*.cc' '*.h' | xargs -0 clang-format --dry-run -Werror
	scripts/check-layers
	scripts/check-licence

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# with LeakSanitizer reporting leaks that pass through our code (the
# libraries' own start-up allocations are listed in tests/sanitizers).
# intercept_tls_get_addr=0: GCC 12's runtime takes a thread-local block of a
# loaded library that happens to start 16 bytes into a page for a pre-2.25
# glibc header, reads a bogus range from before it, and the leak checker then
# dies scanning that range ("Tracer caught signal 11"), by chance of where
# malloc put the block. Without the interception those blocks go unscanned.
ASAN_BUILD ?= build-asan
test-asan: test-deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWHIRLPANE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_odr_violation=0:intercept_tls_get_addr=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/leaks.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j 2

# libFuzzer targets (clang 14), each run for FUZZ_SECONDS on its seed corpus in
# tests/fuzz/corpus; what they find is kept in $(FUZZ_BUILD)/corpus.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= formats unique_sibling docx_xml docx_zip zip_writer bmp plain_text convert
fuzz:
	@scripts/install-deps --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DWHIRLPANE_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD)
	for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/leaks.supp:print_suppressions=0 \
	  $(FUZZ_BUILD)/bin/fuzz_$$target $(FUZZ_BUILD)/corpus/$$target tests/fuzz/corpus/$$target \
	    -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/ || exit 1; \
	done

run: build
	$(BUILD)/bin/whirlpane $(ARGS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# whirlpane_<version>_<arch>.deb in $(BUILD), packed by CPack from the install
# rules, its library dependencies found by dpkg-shlibdeps.
deb: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@scripts/install-deps --bench
	bench/run $(BUILD)/bin/whirlpane

# The pictures in docs/ (or $(SCREENSHOTS)): the wheels and the toast drawn by
# the real widgets on Qt's offscreen platform in the Inter face, so that they
# come out the same on every machine; and the wheel's panel on a real X desktop
# (Xvfb and openbox), with and without a compositor; and every editor and
# control as the editors' offscreen self-check draws them, in editors/. Then the
# pictures with words in them once more in each of SCREENSHOT_LANGUAGES, in
# <language>/ (Chinese and Japanese characters from the Noto CJK faces). The
# faces, the desktop and ImageMagick come with `--screenshots`.
SCREENSHOT_LANGUAGES ?= de ja
screenshots: build
	@scripts/install-deps --screenshots
	mkdir -p $(SCREENSHOTS)/editors
	$(BUILD)/bin/whirlpane-screenshots $(SCREENSHOTS)
	$(BUILD)/bin/editor-self-check $(SCREENSHOTS)/editors
	$(BUILD)/bin/background-results $(SCREENSHOTS)/editors
	docs/desktop-screenshots $(BUILD)/bin/whirlpane $(SCREENSHOTS)
	docs/app-screenshots $(SCREENSHOTS) $(BUILD)/bin/whirlpane
	docs/file-manager-screenshot $(BUILD)/bin/whirlpane $(BUILD)/share $(SCREENSHOTS)
	for language in $(SCREENSHOT_LANGUAGES); do \
	  $(BUILD)/bin/whirlpane-screenshots $(SCREENSHOTS)/$$language $$language && \
	  $(BUILD)/bin/editor-self-check $(SCREENSHOTS)/$$language/editors $$language && \
	  docs/app-screenshots $(SCREENSHOTS)/$$language $(BUILD)/bin/whirlpane $$language || exit 1; \
	done

clean:
	rm -rf $(BUILD)
