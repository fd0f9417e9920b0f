# Entry points over the CMake presets. Each target first installs what it needs.

WINDOWS_PRESETS := windows-x86 windows-x64

.PHONY: demo test test-native test-windows test-deploy test-fuzz windows dist fuzz bench \
  deps-native deps-windows deps-fuzz format clean

test: test-native test-fuzz test-windows test-deploy

# The README's main job: a sample PDF through the 32-bit add-in, under Wine, to a
# print handler; the picture of its first page lands in demo/first-page.png.
demo: windows
	bash tools/demo/run-demo.sh

deps-native:
	bash tools/install-deps.sh native

# cmake and ninja drive the cross builds too.
deps-windows:
	bash tools/install-deps.sh native windows

# The native tests, plain and with AddressSanitizer and UndefinedBehaviorSanitizer.
test-native: deps-native
	for preset in native native-asan; do \
	  cmake --preset $$preset && cmake --build --preset $$preset && \
	  ctest --preset $$preset || exit 1; \
	done

# Both Windows DLLs and the stand-in client, cross-built with mingw-w64.
windows: deps-windows
	for preset in $(WINDOWS_PRESETS); do \
	  cmake --preset $$preset && cmake --build --preset $$preset || exit 1; \
	done

# The binary checks and the Wine tests of both builds.
test-windows: windows
	for preset in $(WINDOWS_PRESETS); do \
	  ctest --preset $$preset || exit 1; \
	done
	@/usr/lib/wine/wine --version >/dev/null 2>&1 || \
	  echo "NOTE: this machine cannot run 32-bit programs, so the wine-x86 tests were skipped" \
	    "(the x86 binary checks ran); see README.md."

# The release zip, dist/quarven-<version>.zip, packed from both Windows builds.
dist: windows
	cmake --preset deploy && cmake --build --preset deploy

# The release under Wine: the zip's content, the install scripts, the sender.
test-deploy: dist
	ctest --preset deploy

deps-fuzz:
	bash tools/install-deps.sh fuzz

# The receiver fuzzed against its model. New inputs go to build/fuzz/corpus; the
# seeds in tests/fuzz/corpus are only read. The program changes its directory, so
# every path it gets is absolute. Any finding fails the target.
FUZZ_SECONDS ?= 60
FUZZER = $(CURDIR)/build/fuzz/tests/fuzz/quarven_receiver_fuzz
test-fuzz: deps-fuzz
	cmake --preset fuzz && cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus
	$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -handle_xfsz=0 -print_final_stats=1 \
	  -artifact_prefix=$(CURDIR)/build/fuzz/ $(CURDIR)/build/fuzz/corpus $(CURDIR)/tests/fuzz/corpus

# The same, for longer.
fuzz:
	$(MAKE) test-fuzz FUZZ_SECONDS=900

# The receiver's cost per chunk natively and under Wine, against the floor of its
# design, and its peak memory: one table, and whether each target is met.
BENCH_DIR = build/native/tools/bench
bench: deps-windows
	cmake --preset native && cmake --build --preset native --target quarven quarven-bench-driver quarven-bench
	for preset in $(WINDOWS_PRESETS); do \
	  cmake --preset $$preset && cmake --build --preset $$preset --target quarven quarven-bench-driver || exit 1; \
	done
	$(BENCH_DIR)/quarven-bench $(BENCH_DIR)/quarven-bench-driver build/native/quarven.so \
	  build/windows-x86/tools/bench/quarven-bench-driver.exe build/windows-x86/quarven.dll \
	  build/windows-x64/tools/bench/quarven-bench-driver.exe build/windows-x64/quarven.dll

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build demo dist
