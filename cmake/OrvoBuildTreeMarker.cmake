# orvo_write_build_tree_marker(target): writes the marker file beside the
# program `target` in the build tree, through which it finds the source
# tree's data folder, the bundled agent runtime and the compiled message
# catalogs without installing (platform/buildtreemarker.h). The marker is
# never installed, so no installed file names a folder of the build machine.
function(orvo_write_build_tree_marker target)
  set(content "# Written by the build: programs in this folder run from a build tree.\n")
  string(APPEND content "dataDir=${CMAKE_SOURCE_DIR}/data/\n")
  if(DEFINED ORVO_LOCALE_DIR)
    string(APPEND content "localeDir=${ORVO_LOCALE_DIR}\n")
  endif()
  if(DEFINED ORVO_PLAYER_BUNDLE)
    string(APPEND content "playerBundle=${ORVO_PLAYER_BUNDLE}\n")
  endif()
  file(GENERATE OUTPUT $<TARGET_FILE_DIR:${target}>/vieworvo-build-tree.txt CONTENT "${content}")
endfunction()
