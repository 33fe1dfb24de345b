#pragma once

// The speech commands live in a module of their own (orvo-speech.so) that the
// tool loads when one of them is run: espeak-ng, MeCab, PocketSphinx and the
// PulseAudio client with what they bring are some forty libraries, whose
// loading would otherwise be most of the start-up time of every check and
// conversion.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace orvo::cli {

inline constexpr const char* kSpeechModuleFileName = "orvo-speech.so";

// Where the speech module of a program at `executablePath` lies: in an
// installation (a program beside a share/vieworvo folder) in the library
// folder that the module is installed to (<bin>/../lib/vieworvo/modules/),
// else (a program run from its build tree) beside the program. Empty when
// the program's path is unknown.
std::string findSpeechModule(const std::string& executablePath);

// Loads the module at `modulePath` and runs the speech command in `args`
// (runSpeechCommand). A module that cannot be loaded, or is of another
// build, is reported on `err` naming what is missing: exit status 1.
int runSpeechModule(const std::string& modulePath, const std::vector<std::string>& args,
                    const Environment& env, std::ostream& out, std::ostream& err);

} // namespace orvo::cli
