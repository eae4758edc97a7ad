# Library targets from the floor table (cmake/floors.txt).
#
# kv_floor_library(NAME [SOURCES extra...]) makes the static library of the table's line NAME:
# the files its patterns match (and no earlier line claims), linked PUBLIC to the targets of its
# links column. Each library publishes only its own headers: they are linked into
# <build>/floors/NAME/<their path>, so `#include "graphics/bitmap.h"` resolves for the targets
# that link kv_graphics and for no other.
set(KV_FLOOR_TABLE ${CMAKE_SOURCE_DIR}/cmake/floors.txt)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KV_FLOOR_TABLE})

file(STRINGS ${KV_FLOOR_TABLE} kv_floor_lines REGEX "^[0-9]")
set(kv_claimed)
foreach(line IN LISTS kv_floor_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(POP_FRONT fields floor name links)
  set(files)
  foreach(pattern IN LISTS fields)
    file(GLOB found LIST_DIRECTORIES false RELATIVE ${CMAKE_SOURCE_DIR} CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${pattern})
    list(FILTER found INCLUDE REGEX "\\.(cpp|h)$")
    foreach(file IN LISTS found)
      if(NOT file IN_LIST kv_claimed)
        list(APPEND files ${file})
        list(APPEND kv_claimed ${file})
      endif()
    endforeach()
  endforeach()
  if(links STREQUAL "-")
    set(links "")
  endif()
  string(REPLACE "," ";" links "${links}")
  set(KV_FLOOR_FILES_${name} ${files} CACHE INTERNAL "")
  set(KV_FLOOR_LINKS_${name} ${links} CACHE INTERNAL "")
endforeach()

function(kv_floor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/floors/${name})
  file(REMOVE_RECURSE ${root})
  set(sources ${ARG_SOURCES})
  foreach(file IN LISTS KV_FLOOR_FILES_${name})
    list(APPEND sources ${CMAKE_SOURCE_DIR}/${file})
    if(file MATCHES "\\.h$")
      get_filename_component(folder ${root}/${file} DIRECTORY)
      file(MAKE_DIRECTORY ${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${file} ${root}/${file} SYMBOLIC)
    endif()
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${KV_FLOOR_LINKS_${name}})
endfunction()

# Tests, benchmarks and tools may include the test support as "tests/...", and nothing else of the
# source tree through it.
set(KV_TESTS_INCLUDE ${CMAKE_BINARY_DIR}/floors/tests-root)
file(REMOVE_RECURSE ${KV_TESTS_INCLUDE})
file(MAKE_DIRECTORY ${KV_TESTS_INCLUDE})
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/tests ${KV_TESTS_INCLUDE}/tests SYMBOLIC)
