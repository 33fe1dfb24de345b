#include "speech/synthesizer.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <optional>

#include "platform/encoding.h"
#include "speech/enginetext.h"
#include "speech/espeakengine.h"
#include "speech/japanesereading.h"
#include "speech/speechtags.h"
#include "speech/utf8.h"

namespace orvo::speech {

namespace {

// espeak-ng's own defaults; the agent's \Spd\ is in the control's words per
// minute, where 160 was the usual pace, which espeak-ng calls 175.
constexpr int kEspeakRate = espeakRATE_NORMAL;
constexpr int kAgentDefaultWpm = 160;
constexpr int kEspeakPitch = 50;
constexpr int kAgentDefaultPitchHz = 120;
constexpr int kEspeakRange = 50;
constexpr int kEspeakVolume = 100;
constexpr std::size_t kSilenceRunMs = 50;

struct EspeakParameters {
    int rate = kEspeakRate;
    int pitch = kEspeakPitch;
    int range = kEspeakRange;
    int volume = kEspeakVolume;
};

EspeakParameters parametersFor(const VoiceSettings& voice)
{
    EspeakParameters p;
    if (voice.wordsPerMinute > 0) {
        p.rate = voice.wordsPerMinute * kEspeakRate / kAgentDefaultWpm;
    }
    if (voice.pitchHz > 0) {
        p.pitch = voice.pitchHz * kEspeakPitch / kAgentDefaultPitchHz;
    }
    if (voice.volume >= 0) {
        p.volume = static_cast<int>(static_cast<long>(voice.volume) * kEspeakVolume / kMaxVolume);
    }
    if (voice.style == VoiceStyle::Monotone) {
        p.range = 0;
    }
    if (voice.emphasis) {
        // Stress: higher, louder, a little slower.
        p.pitch += 20;
        p.range = std::max(p.range, 70);
        p.volume = p.volume * 13 / 10;
        p.rate = p.rate * 85 / 100;
    }
    p.rate = std::clamp(p.rate, espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
    p.pitch = std::clamp(p.pitch, 0, 100);
    p.volume = std::clamp(p.volume, 0, 200);
    return p;
}

std::string voiceNameFor(const std::string& base, VoiceStyle style)
{
    if (style != VoiceStyle::Whisper) {
        return base;
    }
    return base.substr(0, base.find('+')) + "+whisper";
}

// The speech of one synthesize() call: hands samples and finished word
// events to the sink, and puts the pauses of a piece in before their words.
class Collector {
public:
    Collector(const SpeechSink& sink, std::size_t sampleRate) : sink_(sink), rate_(sampleRate) {}

    bool stopped() const { return stopped_; }

    void startPiece(const SpeechPiece& piece)
    {
        piece_ = &piece;
        offsets_ = characterOffsets(piece.spoken);
        consumed_ = 0;
        nextPause_ = 0;
    }

    // espeak-ng's callback: a run of samples and the events that it holds.
    // An event's sample counts from the start of the piece's speech.
    int onSynth(short* wav, int count, espeak_EVENT* events)
    {
        const std::size_t total = wav != nullptr && count > 0 ? static_cast<std::size_t>(count) : 0;
        std::size_t cursor = 0;
        for (espeak_EVENT* event = events;
             event != nullptr && event->type != espeakEVENT_LIST_TERMINATED; ++event) {
            if (event->type != espeakEVENT_WORD || piece_ == nullptr || piece_->spoken.empty()) {
                continue;
            }
            const auto sample = static_cast<std::size_t>(std::max(event->sample, 0));
            const std::size_t characters = offsets_.size() - 1;
            const std::size_t first = std::min(
                static_cast<std::size_t>(std::max(event->text_position - 1, 0)), characters - 1);
            const std::size_t last =
                std::min(first + static_cast<std::size_t>(std::max(event->length, 1)), characters);
            if (pauseDue(offsets_[first])) {
                // The samples before the word, then the silence.
                const std::size_t split =
                    std::clamp(sample > consumed_ ? sample - consumed_ : 0, cursor, total);
                emit(std::span<const std::int16_t>(wav + cursor, split - cursor));
                cursor = split;
                closePending();
                while (pauseDue(offsets_[first])) {
                    silence(piece_->pauses[nextPause_++].ms);
                }
            }
            const Span from = piece_->origin[offsets_[first]];
            const Span to = piece_->origin[offsets_[last] - 1];
            WordEvent word;
            word.textBegin = std::min(from.begin, to.begin);
            word.textEnd = std::max(from.end, to.end);
            word.startSample = delivered_ + (sample > consumed_ ? sample - consumed_ : 0);
            word.startSample = std::max(word.startSample, delivered_);
            onWord(word);
        }
        emit(std::span<const std::int16_t>(wav + cursor, total - cursor));
        return stopped_ ? 1 : 0;
    }

    void endPiece()
    {
        closePending();
        while (piece_ != nullptr && nextPause_ < piece_->pauses.size()) {
            silence(piece_->pauses[nextPause_++].ms);
        }
        emit({});
    }

private:
    bool pauseDue(std::size_t byteOffset) const
    {
        return nextPause_ < piece_->pauses.size() &&
               piece_->pauses[nextPause_].offset <= byteOffset;
    }

    void onWord(const WordEvent& word)
    {
        if (pending_ && word.textBegin < pending_->textEnd) {
            // Another spoken word of the same written word (a mapped text, a
            // split reading): one event for all of it.
            pending_->textEnd = std::max(pending_->textEnd, word.textEnd);
            return;
        }
        if (pending_) {
            pending_->endSample = std::max(word.startSample, pending_->startSample);
            ready_.push_back(*pending_);
        }
        pending_ = word;
    }

    // The word in progress ends here (before a pause, at a piece's end).
    void closePending()
    {
        if (pending_) {
            pending_->endSample = std::max(delivered_, pending_->startSample);
            ready_.push_back(*pending_);
            pending_.reset();
        }
    }

    void silence(int ms)
    {
        std::size_t count = static_cast<std::size_t>(ms) * rate_ / 1000;
        const std::vector<std::int16_t> zeros(
            std::max<std::size_t>(rate_ * kSilenceRunMs / 1000, 1), 0);
        while (count > 0 && !stopped_) {
            const std::size_t n = std::min(count, zeros.size());
            count -= n;
            deliver({zeros.data(), n});
        }
    }

    // Samples of the piece's own speech.
    void emit(std::span<const std::int16_t> samples)
    {
        consumed_ += samples.size();
        deliver(samples);
    }

    void deliver(std::span<const std::int16_t> samples)
    {
        delivered_ += samples.size();
        if (stopped_ || (samples.empty() && ready_.empty())) {
            return;
        }
        if (!sink_(samples, ready_)) {
            stopped_ = true;
        }
        ready_.clear();
    }

    const SpeechSink& sink_;
    const std::size_t rate_;
    const SpeechPiece* piece_ = nullptr;
    std::vector<std::size_t> offsets_;
    std::size_t nextPause_ = 0;
    std::size_t consumed_ = 0;  // samples of the piece's own speech handed on
    std::size_t delivered_ = 0; // samples handed on in all
    std::optional<WordEvent> pending_;
    std::vector<WordEvent> ready_;
    bool stopped_ = false;
};

Collector* g_collector = nullptr; // the synthesis in progress, under the engine's lock

int synthCallback(short* wav, int count, espeak_EVENT* events)
{
    return g_collector != nullptr ? g_collector->onSynth(wav, count, events) : 1;
}

} // namespace

double Speech::seconds() const
{
    return sampleRate > 0 ? static_cast<double>(samples.size()) / sampleRate : 0.0;
}

struct Synthesizer::Impl {
    EspeakEngine& engine = espeakEngine();
    std::unique_ptr<JapaneseReading> japanese;
    std::string error;
};

Synthesizer::Synthesizer() : impl_(std::make_unique<Impl>())
{
    impl_->error = impl_->engine.error;
}

Synthesizer::~Synthesizer() = default;

bool Synthesizer::ok() const
{
    return impl_->engine.sampleRate > 0;
}

const std::string& Synthesizer::error() const
{
    return impl_->error;
}

int Synthesizer::sampleRate() const
{
    return impl_->engine.sampleRate;
}

bool Synthesizer::synthesize(std::string_view utf8Text, const SpeakOptions& options, Speech& speech)
{
    speech = Speech{};
    speech.sampleRate = sampleRate();
    return synthesize(
        utf8Text, options,
        [&speech](std::span<const std::int16_t> samples, std::span<const WordEvent> words) {
            speech.samples.insert(speech.samples.end(), samples.begin(), samples.end());
            speech.words.insert(speech.words.end(), words.begin(), words.end());
            return true;
        });
}

bool Synthesizer::synthesize(std::string_view utf8Text, const SpeakOptions& options,
                             const SpeechSink& sink)
{
    if (!ok()) {
        impl_->error = impl_->engine.error;
        return false;
    }
    impl_->error.clear();
    const Language language =
        options.language == Language::Automatic ? detectLanguage(utf8Text) : options.language;
    const std::string baseVoice = options.voice.empty() ? defaultVoice(language) : options.voice;

    // espeak-ng must never see broken UTF-8; each invalid byte becomes one
    // "?", so byte offsets stay those of the caller's text.
    const std::string clean =
        platform::convertCodePage(utf8Text, platform::CodePage::Utf8, platform::CodePage::Utf8);
    std::vector<SpeechPiece> pieces = parseSpeechTags(clean);
    if (language == Language::Japanese) {
        if (!impl_->japanese) {
            impl_->japanese = std::make_unique<JapaneseReading>();
        }
        for (SpeechPiece& piece : pieces) {
            if (!impl_->japanese->read(piece)) {
                impl_->error = impl_->japanese->error();
                return false;
            }
        }
    }
    std::lock_guard lock(impl_->engine.mutex);
    if (espeak_SetVoiceByName(baseVoice.c_str()) != EE_OK) {
        impl_->error = "unknown voice: " + baseVoice + " (orvo voices lists the voices)";
        return false;
    }
    // The voice's first language follows its priority byte.
    const espeak_VOICE* voice = espeak_GetCurrentVoice();
    const std::string_view voiceLanguage =
        voice != nullptr && voice->languages != nullptr && voice->languages[0] != '\0'
            ? std::string_view(voice->languages + 1)
            : std::string_view();
    for (SpeechPiece& piece : pieces) {
        blankSwitchingScripts(piece.spoken, voiceLanguage);
    }
    std::string currentVoice = baseVoice;
    Collector collector(sink, static_cast<std::size_t>(sampleRate()));
    g_collector = &collector;
    espeak_SetSynthCallback(synthCallback);
    bool good = true;
    for (const SpeechPiece& piece : pieces) {
        if (collector.stopped()) {
            break;
        }
        const std::string voiceName = voiceNameFor(baseVoice, piece.voice.style);
        if (voiceName != currentVoice && espeak_SetVoiceByName(voiceName.c_str()) == EE_OK) {
            currentVoice = voiceName;
        }
        const EspeakParameters p = parametersFor(piece.voice);
        espeak_SetParameter(espeakRATE, p.rate, 0);
        espeak_SetParameter(espeakPITCH, p.pitch, 0);
        espeak_SetParameter(espeakRANGE, p.range, 0);
        espeak_SetParameter(espeakVOLUME, p.volume, 0);
        collector.startPiece(piece);
        const bool silent = std::all_of(piece.spoken.begin(), piece.spoken.end(), [](char c) {
            return c == ' ' || (c >= '\t' && c <= '\r');
        });
        const espeak_ERROR result =
            silent ? EE_OK
                   : espeak_Synth(piece.spoken.c_str(), piece.spoken.size() + 1, 0, POS_CHARACTER,
                                  0, espeakCHARS_UTF8, nullptr, nullptr);
        if (result != EE_OK && !collector.stopped()) {
            impl_->error = "espeak-ng failed to synthesize the text";
            good = false;
            break;
        }
        collector.endPiece();
    }
    g_collector = nullptr;
    return good;
}

} // namespace orvo::speech
