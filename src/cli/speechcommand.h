#pragma once

// `orvo speak`, `orvo voices` and `orvo hear` behind one call: the commands
// that need the speech engines and the sound server's client. The tool runs
// them from its speech module (speechmodule.h), tests link them in.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace orvo::cli {

// `args` starts with the command's name: speak, voices or hear.
int runSpeechCommand(const std::vector<std::string>& args, const Environment& env,
                     std::ostream& out, std::ostream& err);

} // namespace orvo::cli
