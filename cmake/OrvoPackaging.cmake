# Debian packages, made by CPack from a release build (`make package`, or
# `cpack -G DEB` in the build tree):
#   orvo      the command-line tool, the data folder, the examples and the
#             agent runtime; no Qt
#   vieworvo  the window and its desktop integration; depends on orvo
# Each install() rule names the package that it belongs to as its component.

set(ORVO_HOMEPAGE "https://vieworvo.example.org/")
set(ORVO_MAINTAINER "The ViewOrvo developers <vieworvo@example.org>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vieworvo)
set(CPACK_PACKAGE_VENDOR "The ViewOrvo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVO_MAINTAINER})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian's packages carry no symbols; the build tree keeps them for debugging.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
# The component desktop-databases (the cache updates of a plain
# `cmake --install`) is in no package: dpkg's triggers do that work.
set(CPACK_COMPONENTS_ALL orvo)
if(ORVO_BUILD_APP)
  list(APPEND CPACK_COMPONENTS_ALL vieworvo)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVO_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The library packages that the programs link come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_ORVO_PACKAGE_NAME orvo)
set(CPACK_DEBIAN_ORVO_PACKAGE_SECTION text)
set(CPACK_DEBIAN_ORVO_PACKAGE_SUGGESTS vieworvo)
set(CPACK_DEBIAN_ORVO_DESCRIPTION
  "converter for ORVO agent presentations
orvo reads presentations written in ORVO, a small XML-like markup in .orv
files in which an animated agent character speaks, plays animations, moves,
listens for spoken words and jumps between pages. It checks every tag against
a tag type table and converts the presentation into a folder of numbered HTML
pages, optionally with an agent runtime that plays them in any web browser.
.
This package holds the command-line tool, its data (tag type table, emotion
map, navigation images), the agent runtime and a bundled example tour.")
# Speech: the engines that orvo links come from dpkg-shlibdeps (libespeak-ng1,
# which brings its voices, espeak-ng-data, by itself; libmecab2). What an
# engine only loads at run time is data that no library depends on, so it is
# named here: mecab's dictionary for the Japanese readings.
if(TARGET orvo_speech)
  set(CPACK_DEBIAN_ORVO_PACKAGE_RECOMMENDS "mecab-ipadic-utf8")
endif()
# TODO(speech recognition): once orvo links pocketsphinx (`orvo hear`), its
# acoustic model is such data too: add "pocketsphinx-en-us" to the
# recommendations above, under the recognition library's target.

set(CPACK_DEBIAN_VIEWORVO_PACKAGE_NAME vieworvo)
set(CPACK_DEBIAN_VIEWORVO_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_VIEWORVO_PACKAGE_DEPENDS "orvo (= ${PROJECT_VERSION})")
# The file type and the menu entry reach the desktop through the triggers of
# these two; the fonts show the Japanese texts.
set(CPACK_DEBIAN_VIEWORVO_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, fonts-noto-cjk")
set(CPACK_DEBIAN_VIEWORVO_DESCRIPTION
  "viewer and player for ORVO agent presentations
ViewOrvo opens presentations written in ORVO, a small XML-like markup in .orv
files in which an animated agent character speaks, plays animations, moves,
listens for spoken words and jumps between pages. It converts them into HTML
pages and plays them in its own window, where the character presents them
page by page.
.
This package holds the window, its menu entry, icon and the .orv file type.")

include(CPack)
