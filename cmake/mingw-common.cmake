# What both mingw-w64 toolchain files share; they set CMAKE_SYSTEM_PROCESSOR and
# QUARVEN_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

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
