# cmake -DSOURCE_DIR=<tree> -DLINKS=<file> -DALLOWED=<target=lib,lib;...> -P check_structure.cmake
# Fails, naming every fault, when a file outside app/, tests/ and bench/ includes app/MDIForm1.h,
# or when a listed target links anything but what ALLOWED gives it.
# LINKS holds lines "<target> <property>=<libraries separated by |>".
cmake_minimum_required(VERSION 3.22)

foreach(variable SOURCE_DIR LINKS ALLOWED)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check_structure: ${variable} is not set")
  endif()
endforeach()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(faults "")

# 1. Who includes the main window's header. Build folders (they hold a CMakeCache.txt) and
#    hidden folders are not sources.
file(GLOB top_entries RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(files "")
foreach(entry IN LISTS top_entries)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${entry} OR entry MATCHES "^(app|tests|bench|\\..*)$"
     OR EXISTS ${SOURCE_DIR}/${entry}/CMakeCache.txt)
    continue()
  endif()
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR}
       ${SOURCE_DIR}/${entry}/*.h ${SOURCE_DIR}/${entry}/*.hpp
       ${SOURCE_DIR}/${entry}/*.cpp ${SOURCE_DIR}/${entry}/*.cc ${SOURCE_DIR}/${entry}/*.cxx)
  list(APPEND files ${found})
endforeach()
list(SORT files)
foreach(file IN LISTS files)
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]([.][.]/)*app/MDIForm1[.]h[\">]")
  if(lines)
    list(APPEND faults "${file} includes app/MDIForm1.h")
  endif()
endforeach()

# 2. What the core layers link.
file(STRINGS ${LINKS} link_lines)
foreach(rule IN LISTS ALLOWED)
  string(REPLACE "=" ";" rule "${rule}")
  list(GET rule 0 target)
  list(GET rule 1 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    set(seen FALSE)
    foreach(line IN LISTS link_lines)
      if(line MATCHES "^${target} ${property}=(.*)$")
        set(seen TRUE)
        string(REPLACE "|" ";" libraries "${CMAKE_MATCH_1}")
        foreach(library IN LISTS libraries)
          # "::@(...)" and "::@" mark a link made from another folder; they name no library.
          if(library MATCHES "^::@")
            continue()
          endif()
          if(NOT library IN_LIST allowed)
            list(JOIN allowed ", " allowed_text)
            list(APPEND faults "${target} links ${library} (${property}), where only ${allowed_text} may be")
          endif()
        endforeach()
      endif()
    endforeach()
    if(NOT seen)
      list(APPEND faults "${target}: no ${property} line in ${LINKS}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "structure: the layers do not hold:\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "structure: ${count} files outside app/, tests/ and bench/; the core layers link only what they may")
