# Cross build for 32-bit (i386) Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(QUARVEN_MINGW_TRIPLE i686-w64-mingw32)
# The win32 thread model: nothing links against libwinpthread.
set(CMAKE_C_COMPILER ${QUARVEN_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${QUARVEN_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${QUARVEN_MINGW_TRIPLE}-windres)
# The binary checks read the DLLs with this objdump.
set(CMAKE_OBJDUMP ${QUARVEN_MINGW_TRIPLE}-objdump CACHE FILEPATH "objdump for Windows binaries")

set(CMAKE_FIND_ROOT_PATH /usr/${QUARVEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
