#include "cli/speakcommand.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "cli/audioplayback.h"
#include "cli/climessages.h"
#include "platform/codepage.h"
#include "speech/speechinput.h"
#include "speech/synthesizer.h"
#include "speech/voicelist.h"
#include "speech/wavfile.h"

namespace orvo::cli {

namespace {

constexpr const char* kSpeakUsage =
    "Usage: orvo speak [--voice NAME] [--language auto|en|ja] [--codepage NAME]\n"
    "                  [--output FILE.wav] [--timings] TEXT...\n"
    "       orvo voices\n";

constexpr const char* kSpeakHelp =
    "\n"
    "Speaks TEXT as the character does in the window: the agent's speech tags\n"
    "(\\Pau=N\\, \\Spd=N\\, \\Pit=N\\, \\Vol=N\\, \\Emp\\, \\Chr=\"...\"\\, \\Map=\"...\"=\"...\"\\,\n"
    "\\Rst\\) are obeyed, and text with kana or kanji is read in Japanese.\n"
    "\n"
    "  --voice NAME      An espeak-ng voice (orvo voices lists them). Without it,\n"
    "                    the language's default voice.\n"
    "  --language LANG   auto (the default: Japanese when the text holds kana or\n"
    "                    kanji), en or ja.\n"
    "  --codepage NAME   utf-8 or shift_jis: the code page of TEXT. Without it,\n"
    "                    $ORVO_CODEPAGE, else the locale's character set.\n"
    "  --output FILE.wav Write the speech to a WAV file (16-bit mono) instead of\n"
    "                    playing it on the default sound device.\n"
    "  --timings         Print one JSON object per word on stdout:\n"
    "                    {\"word\":...,\"start_ms\":...,\"end_ms\":...}\n";

struct SpeakOptions {
    speech::SpeakOptions speak;
    std::optional<platform::CodePage> codePage;
    std::string output;
    bool timings = false;
    std::string text;
};

int speakUsageError(std::ostream& err, const std::string& problem)
{
    err << "orvo: " << visibleControls(std::string(problem)) << '\n'
        << kSpeakUsage << "Try 'orvo speak --help' for more.\n";
    return kExitUsage;
}

// Reads "--name VALUE" or "--name=VALUE" at args[i]; nullopt when args[i]
// is not that option, an empty string when its value is missing.
std::optional<std::string> takeValue(const std::vector<std::string>& args, std::size_t& i,
                                     const std::string& name)
{
    const std::string& arg = args[i];
    if (arg == name) {
        return i + 1 < args.size() ? args[++i] : std::string();
    }
    if (arg.rfind(name + "=", 0) == 0) {
        return arg.substr(name.size() + 1);
    }
    return std::nullopt;
}

std::string absolutePath(const std::string& path, const std::string& workingFolder)
{
    if (path.front() == '/' || workingFolder.empty()) {
        return path;
    }
    return workingFolder + (workingFolder.back() == '/' ? "" : "/") + path;
}

long long milliseconds(std::size_t samples, int sampleRate)
{
    return std::llround(static_cast<double>(samples) * 1000.0 / sampleRate);
}

void printTimings(const std::string& text, const speech::Speech& speech, std::ostream& out)
{
    for (const speech::WordEvent& word : speech.words) {
        out << "{\"word\":"
            << jsonString(text.substr(word.textBegin, word.textEnd - word.textBegin))
            << ",\"start_ms\":" << milliseconds(word.startSample, speech.sampleRate)
            << ",\"end_ms\":" << milliseconds(word.endSample, speech.sampleRate) << "}\n";
    }
}

} // namespace

int runSpeak(const std::vector<std::string>& args, const Environment& env, std::ostream& out,
             std::ostream& err)
{
    SpeakOptions options;
    std::vector<std::string> words;
    bool onlyText = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyText || arg.empty() || arg[0] != '-' || arg == "-") {
            words.push_back(arg);
        } else if (arg == "--") {
            onlyText = true;
        } else if (arg == "--help" || arg == "-h") {
            out << kSpeakUsage << kSpeakHelp;
            return kExitOk;
        } else if (arg == "--timings") {
            options.timings = true;
        } else if (auto voice = takeValue(args, i, "--voice")) {
            if (voice->empty()) {
                return speakUsageError(err, "--voice needs a voice name");
            }
            options.speak.voice = *voice;
        } else if (auto language = takeValue(args, i, "--language")) {
            if (!speech::languageFromName(*language, options.speak.language)) {
                return speakUsageError(err, "--language takes auto, en or ja");
            }
        } else if (auto page = takeValue(args, i, "--codepage")) {
            platform::CodePage chosen{};
            if (!platform::codePageFromName(*page, chosen)) {
                return speakUsageError(err, "--codepage takes utf-8 or shift_jis");
            }
            options.codePage = chosen;
        } else if (auto output = takeValue(args, i, "--output")) {
            if (output->empty()) {
                return speakUsageError(err, "--output needs a file name");
            }
            options.output = absolutePath(*output, env.workingFolder);
        } else {
            return speakUsageError(err, "unknown option " + arg);
        }
    }
    if (words.empty()) {
        return speakUsageError(err, "speak needs a text");
    }
    for (const std::string& word : words) {
        options.text += (options.text.empty() ? "" : " ") + word;
    }
    const platform::CodePage page = options.codePage.value_or(
        platform::chooseCodePage(env.codePageVariable.c_str(), env.localeCodeset.c_str()));
    const std::string text = speech::speechTextAsUtf8(options.text, page);

    speech::Synthesizer synthesizer;
    if (!synthesizer.ok()) {
        err << "orvo: " << visibleControls(std::string(synthesizer.error())) << '\n';
        return kExitFailed;
    }
    speech::Speech speech;
    speech.sampleRate = synthesizer.sampleRate();
    std::string error;
    AudioPlayback playback;
    const bool play = options.output.empty();
    if (play && !playback.open(synthesizer.sampleRate(), error)) {
        err << "orvo: " << visibleControls(std::string(error)) << '\n';
        return kExitFailed;
    }
    // Played while the rest is made, so that long texts start at once.
    const bool made = synthesizer.synthesize(
        text, options.speak,
        [&](std::span<const std::int16_t> samples, std::span<const speech::WordEvent> events) {
            speech.words.insert(speech.words.end(), events.begin(), events.end());
            if (play) {
                return playback.write(samples, error);
            }
            speech.samples.insert(speech.samples.end(), samples.begin(), samples.end());
            return true;
        });
    if (!made) {
        err << "orvo: " << visibleControls(std::string(synthesizer.error())) << '\n';
        return kExitFailed;
    }
    if (play ? (!error.empty() || !playback.drain(error))
             : !speech::writeWavFile(options.output, speech.samples, speech.sampleRate, error)) {
        err << "orvo: " << visibleControls(std::string(error)) << '\n';
        return kExitFailed;
    }
    if (options.timings) {
        printTimings(text, speech, out);
    }
    return kExitOk;
}

int runVoices(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        err << "orvo: voices takes no arguments\n" << kSpeakUsage;
        return kExitUsage;
    }
    const std::vector<speech::VoiceInfo> voices = speech::installedVoices();
    if (voices.empty()) {
        err << "orvo: espeak-ng has no voices (install espeak-ng-data)\n";
        return kExitFailed;
    }
    out << "Default voices: English " << speech::defaultVoice(speech::Language::English)
        << ", Japanese " << speech::defaultVoice(speech::Language::Japanese) << "\n";
    for (const speech::VoiceInfo& voice : voices) {
        out << voice.language << '\t' << voice.identifier << '\t' << voice.name << '\n';
    }
    return kExitOk;
}

} // namespace orvo::cli
