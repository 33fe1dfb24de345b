# Bundles the agent runtime into one script.
#
# Included from CMakeLists.txt it only defines ORVO_PLAYER_SOURCES (the files
# and their order). Run as a script it writes the bundle:
#   cmake -DORVO_PLAYER_OUT=orvo-player.js -P src/player/bundle.cmake
# The sources share one function scope inside the bundle; SVG files become
# string constants named after the file (character.svg -> CHARACTER_SVG).

set(ORVO_PLAYER_SOURCES
  clock.js
  vbvalues.js
  vblexer.js
  vbparser.js
  vbcodegen.js
  vbengine.js
  speechtext.js
  animations.js
  agentcontrol.js
  character.svg
  stage.js
  voice.js
  tracer.js
  pageboot.js
  api.js)

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT ORVO_PLAYER_OUT)
    message(FATAL_ERROR "Set ORVO_PLAYER_OUT to the bundle's path.")
  endif()
  get_filename_component(dir "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
  set(text "// ViewOrvo agent runtime: plays converted presentations in a browser engine.\n")
  string(APPEND text "// Built from src/player; edit the sources there, not this file.\n")
  string(APPEND text "(function () {\n\"use strict\";\n")
  foreach(source IN LISTS ORVO_PLAYER_SOURCES)
    file(READ "${dir}/${source}" content)
    string(APPEND text "\n// ---- ${source}\n")
    if(source MATCHES "\\.svg$")
      get_filename_component(base "${source}" NAME_WE)
      string(TOUPPER "${base}_SVG" constant)
      # A template literal: escape what would end it or interpolate.
      string(REPLACE "\\" "\\\\" content "${content}")
      string(REPLACE "`" "\\`" content "${content}")
      string(REPLACE "\${" "\\\${" content "${content}")
      string(APPEND text "const ${constant} = `${content}`;\n")
    else()
      string(APPEND text "${content}")
    endif()
  endforeach()
  string(APPEND text "})();\n")
  file(WRITE "${ORVO_PLAYER_OUT}.tmp" "${text}")
  file(RENAME "${ORVO_PLAYER_OUT}.tmp" "${ORVO_PLAYER_OUT}")
endif()
