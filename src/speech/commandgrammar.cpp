#include "speech/commandgrammar.h"

#include <array>
#include <charconv>
#include <sstream>

namespace orvo::speech {

namespace {

// The context-independent phones of the English model, each a garbage token.
constexpr std::array<std::string_view, 39> kGarbagePhones{
    "AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
    "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
    "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};

std::string joined(const Phones& phones)
{
    std::string text;
    for (const std::string& phone : phones) {
        if (!text.empty()) {
            text.push_back(' ');
        }
        text += phone;
    }
    return text;
}

// Token names are plain ASCII whatever the command's script:
// "c<command>w<word>p<pronunciation>_<generation>".
std::string tokenName(std::size_t command, std::size_t word, std::size_t pronunciation,
                      std::size_t generation)
{
    return "c" + std::to_string(command) + "w" + std::to_string(word) + "p" +
           std::to_string(pronunciation) + "_" + std::to_string(generation);
}

} // namespace

CommandGrammar buildCommandGrammar(const std::vector<SpokenCommand>& commands, double garbageWeight,
                                   std::size_t generation)
{
    CommandGrammar grammar;
    std::ostringstream rules;
    std::ostringstream top;
    top << "public <utterance> = ";
    bool first = true;
    for (std::size_t c = 0; c < commands.size(); ++c) {
        if (commands[c].words.empty()) {
            continue;
        }
        rules << "<c" << c << "> =";
        for (std::size_t w = 0; w < commands[c].words.size(); ++w) {
            const SpokenWord& word = commands[c].words[w];
            rules << " (";
            for (std::size_t p = 0; p < word.pronunciations.size(); ++p) {
                const std::string token = tokenName(c, w, p, generation);
                grammar.tokens.emplace_back(token, joined(word.pronunciations[p]));
                rules << (p == 0 ? " " : " | ") << token;
            }
            rules << " )";
        }
        rules << ";\n";
        top << (first ? "" : " | ") << "<c" << c << ">";
        first = false;
    }
    top << ";\n";
    for (std::size_t g = 0; g < kGarbagePhones.size(); ++g) {
        grammar.tokens.emplace_back("g" + std::to_string(g), std::string(kGarbagePhones[g]));
    }
    std::ostringstream garbage;
    garbage << "#JSGF V1.0;\ngrammar garbage;\npublic <garbage> = (";
    for (std::size_t g = 0; g < kGarbagePhones.size(); ++g) {
        garbage << (g == 0 ? " /" : " | /") << garbageWeight << "/ g" << g;
    }
    garbage << " )+;\n";
    grammar.garbageJsgf = garbage.str();
    grammar.jsgf = "#JSGF V1.0;\ngrammar commands;\n" + top.str() + rules.str();
    return grammar;
}

std::optional<std::size_t> commandOfHypothesis(std::string_view hypothesis)
{
    std::optional<std::size_t> command;
    std::size_t at = 0;
    while (at < hypothesis.size()) {
        std::size_t end = hypothesis.find(' ', at);
        if (end == std::string_view::npos) {
            end = hypothesis.size();
        }
        const std::string_view token = hypothesis.substr(at, end - at);
        at = end + 1;
        if (token.empty()) {
            continue;
        }
        if (token[0] != 'c') {
            return std::nullopt; // the garbage loop
        }
        std::size_t index = 0;
        const auto parsed = std::from_chars(token.data() + 1, token.data() + token.size(), index);
        if (parsed.ec != std::errc() || (command && *command != index)) {
            return std::nullopt;
        }
        command = index;
    }
    return command;
}

} // namespace orvo::speech
