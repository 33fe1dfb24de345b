# Strict warnings, set per target and PRIVATE so that no consumer inherits them.
function(orvo_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference)
  # GCC 12 reports "literal" + std::string&& at -O2 as an overlapping memcpy, a
  # false positive (GCC bug 105329); the check is worthless there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(ORVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# One static library per layer: orvo_add_library(name SOURCES... DEPENDS...)
function(orvo_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  orvo_set_warnings(${name})
endfunction()

# A static library that the speech module (a shared object) links as well as
# the programs: position-independent code, and symbols hidden, so that the
# module exports nothing but its entry point and its copy of the library
# never stands in for a program's.
function(orvo_allow_in_module target)
  set_target_properties(${target} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
