#pragma once

// The grammars that the recognizer searches: exactly one of the commands,
// and apart from it a "garbage" loop of single phones that stands for
// anything at all (another word, a cough, noise). A command that explains an
// utterance much worse than the garbage loop was not said.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "speech/commandpronunciation.h"

namespace orvo::speech {

struct CommandGrammar {
    std::string jsgf;        // the commands, in JSGF
    std::string garbageJsgf; // the garbage loop alone, in JSGF
    // The grammar's tokens with their phones ("AA B"), for the dictionary.
    std::vector<std::pair<std::string, std::string>> tokens;
};

// The grammars for `commands` (commands without words are left out; the
// caller checks that one is left). Every garbage phone has the weight
// `garbageWeight`. The
// decoder's dictionary cannot change a word once added, so every grammar
// names its command tokens after its own `generation`.
CommandGrammar buildCommandGrammar(const std::vector<SpokenCommand>& commands, double garbageWeight,
                                   std::size_t generation);

// The index of the command that `hypothesis` (the tokens the search found,
// space-separated) names; nullopt when it is empty or holds garbage phones.
std::optional<std::size_t> commandOfHypothesis(std::string_view hypothesis);

} // namespace orvo::speech
