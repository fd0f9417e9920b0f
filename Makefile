# Entry points over the CMake presets. Each target first installs what it needs.

.PHONY: test test-native test-fuzz fuzz deps-native deps-fuzz format clean

test: test-native test-fuzz

deps-native:
	bash tools/install-deps.sh native

# The native tests, plain and with AddressSanitizer and UndefinedBehaviorSanitizer.
test-native: deps-native
	for preset in native native-asan; do \
	  cmake --preset $$preset && cmake --build --preset $$preset && \
	  ctest --preset $$preset || exit 1; \
	done

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
