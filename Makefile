# Entry points over the CMake presets. Each target first installs what it needs.

.PHONY: test test-native deps-native format clean

test: test-native

deps-native:
	bash tools/install-deps.sh native

# The native tests, plain and with AddressSanitizer and UndefinedBehaviorSanitizer.
test-native: deps-native
	for preset in native native-asan; do \
	  cmake --preset $$preset && cmake --build --preset $$preset && \
	  ctest --preset $$preset || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
