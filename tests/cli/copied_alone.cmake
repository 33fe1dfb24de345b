# Runs a copy of orvo that has neither ../share/vieworvo nor the build's
# marker beside it, with a user settings file that leaves the data folder to
# the program. Expected: exit status 1, the one message about the missing
# data folder, and no path of the source tree in anything it printed; the
# same status and a message naming the missing module for a speech command.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/bin ${WORK}/home/.config ${WORK}/home/.cache/vieworvo)
file(COPY ${ORVO} DESTINATION ${WORK}/bin)
file(WRITE ${WORK}/home/.config/ViewOrvo.ini
  "tagTypeFile=tagtypes.txt\nemotionMapFile=emotionmap.txt\nsettingDir=\n"
  "tempDir=${WORK}/home/.cache/vieworvo/\nworkingDir=vieworvo-pages/\n")
get_filename_component(program ${ORVO} NAME)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=XDG_CACHE_HOME
          --unset=VIEWORVO_INI --unset=LANGUAGE LC_ALL=C HOME=${WORK}/home
          ${WORK}/bin/${program} check ${TOUR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit status ${status}, expected 1\n${err}")
endif()
if(NOT err MATCHES "^settingDir: This program's data folder was not found: [^\n]*ViewOrvo.ini\n")
  message(FATAL_ERROR "no message about the missing data folder:\n${err}")
endif()
get_filename_component(source_data ${TOUR}/../../../data ABSOLUTE)
string(FIND "${out}${err}" "${source_data}" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "the copy used the source tree's data:\n${err}")
endif()

# Nor has it the speech module: a speech command says which file is missing.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C HOME=${WORK}/home ${WORK}/bin/${program} voices
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "^orvo: the speech module [^\n]*/bin/orvo-speech\\.so cannot be loaded")
  message(FATAL_ERROR "voices without its module: exit status ${status}\n${err}")
endif()
