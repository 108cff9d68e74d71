# Checks that the program's sources form a house: floors stacked bottom up, every file on one
# floor, and every include of one of our headers pointing to a floor below the including file.
# An include of a file above (up) or of another file of the same floor (sideways) fails, and so
# does a file that has no floor. With the floors in this order no circle of includes can form.
# Prints the house, roof first. Run by ctest: cmake -DROOT=<source tree> -P tools/check_layers.cmake
#
# The folders stand in this order: the services of app/ at the bottom, then processes/,
# windows/ and capture/, then the pages of app/, the main dialog and start-up on top. Each entry
# below is one folder's part of the house, "label=folder|floor|floor|...", its floors bottom up,
# each floor the base names of its files (a .cpp and its .h are one file here). hooklib/ is a
# library of its own below the whole house.
set(house
  "app/ services=app|program layout platform|resstring dpi|settings|session msgbox help tray banner waitcursor listview textcopy|dlgservices contextmenu"
  "processes/=processes|snapshot fields priority_names|module_info|process_info|processes_page"
  "windows/=windows|names window_query screen pointing|picker class_info move_window style_editor find_box|window_commands|window_info|windows_page taskman_page"
  "capture/=capture|png magnifier|dib|pipeline|viewer|delivery|overlay|capture_page"
  "app/ on top=app|about|options|maindlg|startup|winmain"
)
set(folder_order app processes windows capture app)
set(our_folders app processes windows capture)

if(NOT ROOT)
  message(FATAL_ERROR "layers: run with -DROOT=<source tree>")
endif()

# ---- The floors

set(faults 0)
set(floor 0)
set(group_folders "")
foreach(entry IN LISTS house)
  string(REGEX MATCH "^([^=]+)=([a-z]+)\\|(.*)$" ok "${entry}")
  if(NOT ok)
    message(FATAL_ERROR "layers: cannot read the entry \"${entry}\"")
  endif()
  set(label "${CMAKE_MATCH_1}")
  set(folder "${CMAKE_MATCH_2}")
  string(REPLACE "|" ";" floors "${CMAKE_MATCH_3}")
  list(APPEND group_folders ${folder})
  foreach(names IN LISTS floors)
    math(EXPR floor "${floor} + 1")
    set(floor_label_${floor} "${label}")
    set(floor_folder_${floor} "${folder}")
    separate_arguments(names)
    set(floor_names_${floor} "${names}")
    foreach(name IN LISTS names)
      set(module "${folder}/${name}")
      if(DEFINED floor_of_${module})
        message(SEND_ERROR "layers: ${module} stands on two floors")
        math(EXPR faults "${faults} + 1")
      endif()
      set(floor_of_${module} ${floor})
      if(NOT EXISTS "${ROOT}/${module}.cpp" AND NOT EXISTS "${ROOT}/${module}.h")
        message(SEND_ERROR "layers: ${module} has a floor but no file")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()
set(top_floor ${floor})
if(NOT group_folders STREQUAL folder_order)
  message(SEND_ERROR "layers: the folders stand as ${group_folders}, not as ${folder_order}")
  math(EXPR faults "${faults} + 1")
endif()

# ---- Every file and its includes

set(globs "")
foreach(folder IN LISTS our_folders)
  list(APPEND globs "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
endforeach()
file(GLOB files RELATIVE "${ROOT}" ${globs})
list(LENGTH files count)
if(count LESS 40)
  message(FATAL_ERROR "layers: found only ${count} source files under ${ROOT}")
endif()

set(includes 0)
foreach(f IN LISTS files)
  get_filename_component(dir "${f}" DIRECTORY)
  get_filename_component(name "${f}" NAME_WE)
  set(module "${dir}/${name}")
  if(NOT DEFINED floor_of_${module})
    message(SEND_ERROR "layers: ${f} has no floor in tools/check_layers.cmake")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  set(own ${floor_of_${module}})
  file(STRINGS "${ROOT}/${f}" lines REGEX "^#include \"(app|processes|windows|capture)/")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([a-z]+/[A-Za-z_]+)\\.h\".*" "\\1" target "${line}")
    if(target STREQUAL module)
      continue()
    endif()
    math(EXPR includes "${includes} + 1")
    if(NOT DEFINED floor_of_${target})
      message(SEND_ERROR "layers: ${f} includes ${target}.h, which has no floor")
      math(EXPR faults "${faults} + 1")
    elseif(floor_of_${target} EQUAL own)
      message(SEND_ERROR "layers: ${f} includes ${target}.h on its own floor (${own}): sideways")
      math(EXPR faults "${faults} + 1")
    elseif(floor_of_${target} GREATER own)
      message(SEND_ERROR "layers: ${f} (floor ${own}) includes ${target}.h, which stands above it on floor ${floor_of_${target}}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

# ---- The drawing, roof first

set(drawing "\nThe house of Vantix, roof first: each file includes only files of the floors below it.\n")
string(APPEND drawing "          ____________________________________________\n")
string(APPEND drawing "         /                                            \\\n")
set(floor ${top_floor})
set(last_label "")
while(floor GREATER 0)
  set(label "${floor_label_${floor}}")
  if(label STREQUAL last_label)
    set(shown "")
  else()
    set(shown "${label}")
  endif()
  set(last_label "${label}")
  string(REPLACE ";" "  " names "${floor_names_${floor}}")
  set(number "  ${floor}")
  string(LENGTH "${number}" n)
  math(EXPR n "${n} - 3")
  string(SUBSTRING "${number}" ${n} 3 number)
  set(padded "${shown}                ")
  string(SUBSTRING "${padded}" 0 14 padded)
  string(APPEND drawing "   ${number} | ${padded}| ${floor_names_${floor}}\n")
  math(EXPR floor "${floor} - 1")
endwhile()
string(APPEND drawing "  ====================================================\n")
string(APPEND drawing "    hooklib/quillet: the style library, below the house\n")
string(REPLACE ";" "  " drawing "${drawing}")
message(NOTICE "${drawing}")

if(faults GREATER 0)
  message(FATAL_ERROR "layers: ${faults} fault(s): an include against the floors, or a file without one")
endif()
message(STATUS "layers: ${count} files, ${includes} includes of our own headers, every one to a floor below")
