#include "speech/recognizer.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>

#include <cmath>
#include <filesystem>

#include "speech/commandgrammar.h"
#include "speech/commandpronunciation.h"
#include "speech/japanesereading.h"
#include "speech/resampler.h"

namespace orvo::speech {

namespace {

constexpr int kModelRate = 16000;
constexpr const char* kCommandSearch = "commands";
constexpr const char* kGarbageSearch = "garbage";
// Each garbage phone is as likely as any other; the margin below, not a
// weight, decides between a command and the garbage loop.
constexpr double kGarbageWeight = 1.0;
// How much worse per frame (in the decoder's scaled log units) a command may
// fit than the free phone loop and still count: measured on synthesized
// English words, where the words of the list fit at about -6..+32 and other words
// and noise mostly at -5 and below.
constexpr double kMarginThreshold = -6.0;
// Spread of the confidence around that threshold.
constexpr double kMarginScale = 4.0;
// Below this peak level (about -50 dBFS) an utterance is silence.
constexpr int kSilentPeak = 100;

// Decodes `samples` with the search `name`: the hypothesis (empty for none)
// and its path score.
std::string decode(ps_decoder_t* ps, const char* name, const std::vector<std::int16_t>& samples,
                   int& score)
{
    score = 0;
    if (ps_set_search(ps, name) != 0 || ps_start_utt(ps) < 0) {
        return {};
    }
    ps_process_raw(ps, samples.data(), samples.size(), FALSE, TRUE);
    ps_end_utt(ps);
    int32 best = 0;
    const char* hypothesis = ps_get_hyp(ps, &best);
    score = best;
    return hypothesis == nullptr ? std::string() : std::string(hypothesis);
}

bool silent(const std::vector<std::int16_t>& samples)
{
    for (const std::int16_t sample : samples) {
        if (sample > kSilentPeak || sample < -kSilentPeak) {
            return false;
        }
    }
    return true;
}

} // namespace

struct Recognizer::Decoder {
    cmd_ln_t* config = nullptr;
    ps_decoder_t* ps = nullptr;
    std::string dictionary;
    JapaneseReading japanese;

    ~Decoder()
    {
        if (ps != nullptr) {
            ps_free(ps);
        }
        if (config != nullptr) {
            cmd_ln_free_r(config);
        }
    }
};

Recognizer::Recognizer(const RecognizerModel& model) : m_decoder(std::make_unique<Decoder>())
{
    // PocketSphinx logs every step on stderr; a command-line tool and a
    // window have no use for it.
    err_set_logfp(nullptr);
    std::error_code error;
    if (!std::filesystem::is_directory(model.acousticModel, error)) {
        m_error =
            "the acoustic model " + model.acousticModel + " is missing: install pocketsphinx-en-us";
        return;
    }
    m_decoder->dictionary = model.dictionary;
    // Without the noise and silence fillers between words: on short commands
    // they swallow the plosives ("picture" lost its P and K) and the search
    // then ends in the wrong word. The front end's voice activity detection
    // still drops the silence around the utterance.
    std::vector<std::string> options{"-hmm", model.acousticModel, "-fsgusefiller", "no"};
    std::vector<char*> argv;
    argv.reserve(options.size());
    for (std::string& option : options) {
        argv.push_back(option.data());
    }
    m_decoder->config =
        cmd_ln_parse_r(nullptr, ps_args(), static_cast<int32>(argv.size()), argv.data(), TRUE);
    if (m_decoder->config != nullptr) {
        m_decoder->ps = ps_init(m_decoder->config);
    }
    if (m_decoder->ps == nullptr) {
        m_error = "the acoustic model " + model.acousticModel + " cannot be loaded";
    }
}

Recognizer::~Recognizer() = default;

bool Recognizer::ready() const
{
    return m_decoder->ps != nullptr;
}

const std::string& Recognizer::error() const
{
    return m_error;
}

const std::vector<std::string>& Recognizer::unpronounceable() const
{
    return m_unpronounceable;
}

bool Recognizer::setCommands(const std::vector<std::string>& commands)
{
    m_commands = commands;
    m_unpronounceable.clear();
    m_haveGrammar = false;
    if (!ready()) {
        return false;
    }
    bool dictionaryRead = false;
    const std::vector<SpokenCommand> spoken =
        pronounceCommands(commands, m_decoder->dictionary, m_decoder->japanese, dictionaryRead);
    for (std::size_t i = 0; i < spoken.size(); ++i) {
        if (spoken[i].words.empty()) {
            m_unpronounceable.push_back(commands[i]);
        }
    }
    if (m_unpronounceable.size() == commands.size()) {
        return true; // nothing to listen for: every utterance gives nothing
    }
    const CommandGrammar grammar = buildCommandGrammar(spoken, kGarbageWeight, ++m_generation);
    for (const auto& [token, phones] : grammar.tokens) {
        // The garbage tokens are added once and then refused as known.
        ps_add_word(m_decoder->ps, token.c_str(), phones.c_str(), FALSE);
    }
    if (ps_set_jsgf_string(m_decoder->ps, kCommandSearch, grammar.jsgf.c_str()) != 0 ||
        ps_set_jsgf_string(m_decoder->ps, kGarbageSearch, grammar.garbageJsgf.c_str()) != 0) {
        m_error = "the grammar of the commands cannot be made";
        return false;
    }
    m_haveGrammar = true;
    return true;
}

std::optional<Recognition> Recognizer::recognize(const Utterance& utterance)
{
    if (!m_haveGrammar || utterance.samples.empty() || silent(utterance.samples)) {
        return std::nullopt;
    }
    const std::vector<std::int16_t> samples =
        resample(utterance.samples, utterance.sampleRate, kModelRate);
    if (samples.empty()) {
        return std::nullopt;
    }
    ps_decoder_t* ps = m_decoder->ps;
    int commandScore = 0;
    const std::optional<std::size_t> index =
        commandOfHypothesis(decode(ps, kCommandSearch, samples, commandScore));
    const int frames = ps_get_n_frames(ps);
    if (!index || *index >= m_commands.size() || frames <= 0) {
        return std::nullopt;
    }
    // The command against anything at all: the loop of free phones.
    int garbageScore = 0;
    decode(ps, kGarbageSearch, samples, garbageScore);
    const double margin = static_cast<double>(commandScore - garbageScore) / frames;
    const double confidence = 1.0 / (1.0 + std::exp(-(margin - kMarginThreshold) / kMarginScale));
    if (confidence < kMinimumConfidence) {
        return std::nullopt;
    }
    return Recognition{*index, m_commands[*index], confidence};
}

} // namespace orvo::speech
