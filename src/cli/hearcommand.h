#pragma once

// `orvo hear --words "w1,w2,..." FILE.wav`: which of the command words is
// said in a recording. Prints the command and its confidence separated by a
// tab; exit status 1 when none of the words was heard (or the file cannot be
// read), 2 for a usage error.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvo::cli {

// `args` starts with "hear".
int runHear(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The commands of a --words list: split at commas, trimmed, empty ones dropped.
std::vector<std::string> splitWordList(const std::string& list);

} // namespace orvo::cli
