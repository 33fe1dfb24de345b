#pragma once

// Hears which of a page's voice commands was said, offline, on PocketSphinx
// and its US English model. The search is a grammar of exactly the commands
// never free dictation, checked against a garbage loop of free phones:
// silence, noise and (mostly) words that are no command give nothing.
//
//   Recognizer recognizer;                       // loads the acoustic model
//   recognizer.setCommands({"pages", "goodbye"}); // the page's commands
//   if (auto heard = recognizer.recognize(utterance)) use(heard->command);

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "speech/utterance.h"

namespace orvo::speech {

// Where the model lies; the defaults are Debian's pocketsphinx-en-us.
struct RecognizerModel {
    std::string acousticModel = "/usr/share/pocketsphinx/model/en-us/en-us";
    std::string dictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";
};

struct Recognition {
    std::size_t index = 0; // into the commands given to setCommands
    std::string command;   // that command, as given
    // 0..1: how much better the command explains the utterance than a free
    // loop of phones does; 0.5 and more is a command heard.
    double confidence = 0;
};

class Recognizer {
public:
    // A command whose confidence is below this was not said.
    static constexpr double kMinimumConfidence = 0.5;

    explicit Recognizer(const RecognizerModel& model = {});
    ~Recognizer();
    Recognizer(const Recognizer&) = delete;
    Recognizer& operator=(const Recognizer&) = delete;

    // False when the acoustic model could not be loaded; error() says why.
    bool ready() const;
    const std::string& error() const;

    // The commands to listen for (UTF-8, a word or a short phrase each),
    // replacing the earlier ones. False when the grammar could not be made;
    // a command that cannot be pronounced at all is left out and listed by
    // unpronounceable().
    bool setCommands(const std::vector<std::string>& commands);
    const std::vector<std::string>& unpronounceable() const;

    // The command said in `utterance` (any sample rate, resampled to the
    // model's 16 kHz), or nothing.
    std::optional<Recognition> recognize(const Utterance& utterance);

private:
    struct Decoder;
    std::unique_ptr<Decoder> m_decoder;
    std::string m_error;
    std::vector<std::string> m_commands;
    std::vector<std::string> m_unpronounceable;
    bool m_haveGrammar = false;
    std::size_t m_generation = 0;
};

} // namespace orvo::speech
