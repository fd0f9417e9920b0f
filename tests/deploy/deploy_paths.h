// Where the deployment tests find the sources, the builds and the release; CMake
// passes them in.
#pragma once

constexpr const char* kSourceDir = QUARVEN_SOURCE_DIR;
constexpr const char* kX86Build = QUARVEN_X86_BUILD;
constexpr const char* kX64Build = QUARVEN_X64_BUILD;
constexpr const char* kReleaseDir = QUARVEN_RELEASE_DIR;  // the zip's content, unpacked
constexpr const char* kReleaseZip = QUARVEN_RELEASE_ZIP;
constexpr const char* kWineSessions = QUARVEN_WINE_SESSIONS;  // one per architecture
constexpr const char* kScratchDir = QUARVEN_SCRATCH_DIR;      // for the tests' own files
