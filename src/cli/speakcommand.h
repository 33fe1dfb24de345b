#pragma once

// `orvo speak` and `orvo voices`: the window's voice on the command line, so
// that an author hears a speech before putting it into a presentation and
// tests hear the voice without a sound card.
//
//   orvo speak [--voice NAME] [--language auto|en|ja] [--codepage NAME]
//              [--output FILE.wav] [--timings] TEXT...
//   orvo voices

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace orvo::cli {

// `args` holds the arguments after the command name.
int runSpeak(const std::vector<std::string>& args, const Environment& env, std::ostream& out,
             std::ostream& err);
int runVoices(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace orvo::cli
