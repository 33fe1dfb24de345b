#include "cli/hearcommand.h"

#include <iomanip>
#include <ostream>
#include <string_view>

#include "cli/climessages.h"
#include "speech/recognizer.h"
#include "speech/wavreader.h"

namespace orvo::cli {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kHearUsage = "Usage: orvo hear --words \"WORD,WORD,...\" FILE.wav\n";

int usage(std::ostream& err, std::string_view problem)
{
    err << "orvo hear: " << visibleControls(std::string(problem)) << '\n'
        << kHearUsage << "Try 'orvo --help' for more.\n";
    return kExitUsage;
}

} // namespace

std::vector<std::string> splitWordList(const std::string& list)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        const std::size_t first = list.find_first_not_of(" \t", start);
        const std::size_t last = list.find_last_not_of(" \t", comma - (comma > 0 ? 1 : 0));
        if (first < comma && last != std::string::npos && last >= first) {
            words.push_back(list.substr(first, last - first + 1));
        }
        start = comma + 1;
    }
    return words;
}

int runHear(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string list;
    bool haveList = false;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--words") {
            if (i + 1 >= args.size()) {
                return usage(err, "--words needs a list of words");
            }
            list = args[++i];
            haveList = true;
        } else if (arg.rfind("--words=", 0) == 0) {
            list = arg.substr(8);
            haveList = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage(err, "unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }
    const std::vector<std::string> words = splitWordList(list);
    if (!haveList || words.empty()) {
        return usage(err, "--words needs a list of words");
    }
    if (files.size() != 1) {
        return usage(err, files.empty() ? "a WAV file is needed" : "one WAV file only");
    }

    speech::Utterance utterance;
    std::string problem;
    if (!speech::readWavFile(files[0], utterance, problem)) {
        err << "orvo hear: " << visibleControls(std::string(problem)) << '\n';
        return kExitFailed;
    }
    speech::Recognizer recognizer;
    if (!recognizer.ready()) {
        err << "orvo hear: " << visibleControls(std::string(recognizer.error())) << '\n';
        return kExitFailed;
    }
    if (!recognizer.setCommands(words)) {
        err << "orvo hear: " << visibleControls(std::string(recognizer.error())) << '\n';
        return kExitFailed;
    }
    for (const std::string& word : recognizer.unpronounceable()) {
        err << "orvo hear: \"" << visibleControls(std::string(word))
            << "\" cannot be pronounced and is never heard\n";
    }
    const std::optional<speech::Recognition> heard = recognizer.recognize(utterance);
    if (!heard) {
        err << "orvo hear: none of the words was heard\n";
        return kExitFailed;
    }
    out << heard->command << '\t' << std::fixed << std::setprecision(2) << heard->confidence
        << '\n';
    return kExitOk;
}

} // namespace orvo::cli
