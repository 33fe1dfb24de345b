#pragma once

// How a program run from its build tree finds what an installation keeps in
// <prefix>/share/: the build writes a marker file beside each program that
// names the source tree's data folder, the bundled agent runtime and the
// compiled message catalogs. Nothing of the build machine is compiled into
// the programs, so an installed (or copied) program never reaches back into
// a source tree: only a program that has the marker beside it uses one.
//
// The marker holds key=value lines:
//   dataDir=<source tree>/data/
//   playerBundle=<build tree>/src/player/orvo-player.js
//   localeDir=<build tree>/locale

#include <string>

namespace orvo::platform {

inline constexpr const char* kBuildTreeMarkerName = "vieworvo-build-tree.txt";

struct BuildTreePaths {
    std::string dataDir;      // ends with "/"; empty when not given
    std::string playerBundle; // empty when not given
    std::string localeDir;    // the compiled message catalogs; empty when not given
};

// The paths named by the marker beside the program at `executablePath`; both
// empty when there is no marker (an installed program).
BuildTreePaths readBuildTreeMarker(const std::string& executablePath);

} // namespace orvo::platform
