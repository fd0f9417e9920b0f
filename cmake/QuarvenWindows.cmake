# Windows parts of the build: the version resource and the rules that keep every
# binary dependent on system DLLs only.

# Gives TARGET a version resource (plugin/quarven.rc) with this file description.
function(quarven_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(QUARVEN_RC_FILETYPE VFT_DLL)
    set(QUARVEN_RC_FILENAME "${target}.dll")
  else()
    set(QUARVEN_RC_FILETYPE VFT_APP)
    set(QUARVEN_RC_FILENAME "${target}.exe")
  endif()
  set(QUARVEN_RC_TARGET ${target})
  set(QUARVEN_RC_DESCRIPTION "${description}")
  set(dir ${PROJECT_BINARY_DIR}/version/${target})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/quarven_version.h.in ${dir}/quarven_version.h @ONLY)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/plugin/quarven.rc)
  # Only the resource compiler reads the generated header.
  target_include_directories(${target} PRIVATE ${dir})
endfunction()

# Links TARGET so that it needs no DLL of the compiler's: mingw's libgcc and
# libstdc++ go in statically (MSVC's static runtime is chosen in CMakeLists.txt).
function(quarven_system_dlls_only target)
  if(MINGW)
    target_link_options(${target} PRIVATE -static-libgcc -static-libstdc++)
  endif()
endfunction()

# 32-bit x86 is where __stdcall decorates names (VirtualChannelEntry@4).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QUARVEN_ARCH x86)
  set(QUARVEN_PE_MACHINE i386)
else()
  set(QUARVEN_ARCH x64)
  set(QUARVEN_PE_MACHINE x86-64)
endif()
