# Entry points over the CMake presets. Each target first installs what it needs.

WINDOWS_PRESETS := windows-x86 windows-x64

.PHONY: demo test test-native test-windows test-deploy windows dist deps-native deps-windows format clean

test: test-native test-windows test-deploy

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build demo dist
