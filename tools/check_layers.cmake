# Checks the direction of app/: every file may include only app/ headers of its own layer or
# below. Run by ctest: cmake -DROOT=<source tree> -P tools/check_layers.cmake
#
# app/, bottom up (a name may include the names before it):
#   program resstring settings session        plain values, string table, settings, session:
#                                              no window code
#   msgbox layout help tray banner dlgservices small services
#   about options                              dialogs and pages
#   maindlg                                    the main dialog
#   startup winmain                            start-up on top
# The pages and dialogs of processes/, windows/ and capture/ stand on the level of options: they
# may use every service but neither the main dialog nor start-up.
set(order program resstring settings session msgbox layout help tray banner dlgservices
          about options maindlg startup winmain)
list(FIND order options page_rank)

file(GLOB files RELATIVE "${ROOT}"
     "${ROOT}/app/*.cpp" "${ROOT}/app/*.h"
     "${ROOT}/processes/*.cpp" "${ROOT}/processes/*.h"
     "${ROOT}/windows/*.cpp" "${ROOT}/windows/*.h"
     "${ROOT}/capture/*.cpp" "${ROOT}/capture/*.h")
list(LENGTH files count)
if(count LESS 20)
  message(FATAL_ERROR "layers: found only ${count} source files under ${ROOT}")
endif()

set(faults 0)
foreach(f IN LISTS files)
  get_filename_component(name "${f}" NAME_WE)
  if(f MATCHES "^app/")
    list(FIND order "${name}" rank)
    if(rank EQUAL -1)
      message(SEND_ERROR "layers: ${f} has no place in the order of tools/check_layers.cmake")
      math(EXPR faults "${faults} + 1")
      continue()
    endif()
  else()
    set(rank ${page_rank})
  endif()
  file(STRINGS "${ROOT}/${f}" lines REGEX "^#include \"app/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"app/([A-Za-z_]+)\\.h\".*" "\\1" inc "${line}")
    list(FIND order "${inc}" inc_rank)
    if(inc_rank EQUAL -1 OR inc_rank GREATER rank)
      message(SEND_ERROR "layers: ${f} includes app/${inc}.h, which stands above it")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "layers: ${faults} include(s) against the direction of app/")
endif()
message(STATUS "layers: ${count} files checked, every include points down")
