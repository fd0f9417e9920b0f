# Lays out the release and zips it: cmake -DSTAGE=dir -DZIP=file -DSOURCE=dir
#   -DX86=dir -DX64=dir -P package.cmake, X86 and X64 being the two Windows builds.
# The zip holds the files at its root, as install.cmd expects to find them.
file(REMOVE_RECURSE ${STAGE})
foreach(arch x86 x64)
  file(COPY ${${arch}}/quarven.dll ${${arch}}/quarven-host.exe ${${arch}}/quarven-send.exe
       DESTINATION ${STAGE}/${arch})
endforeach()
# cmd reads its scripts line by line; Windows' own tools expect CRLF there.
foreach(script install.cmd uninstall.cmd)
  file(READ ${SOURCE}/tools/install/${script} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${STAGE}/${script} "${text}")
endforeach()
configure_file(${SOURCE}/README.md ${STAGE}/README.md COPYONLY)
configure_file(${SOURCE}/LICENSE ${STAGE}/LICENSE.txt COPYONLY)

get_filename_component(dir ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip
                  x86 x64 install.cmd uninstall.cmd README.md LICENSE.txt
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
