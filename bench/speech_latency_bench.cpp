// Time from a Speak request to the first audio sample, for a 12-word
// sentence in English and in Japanese (goal: under 150 ms). The voice makes
// speech in pieces and playback starts on the first while the rest is made,
// so the figure is that of the first piece, not of the whole sentence.
//
//   Synthesizer/...  the synthesizer alone: synthesize() until the first
//                    samples reach the sink
//   Window/...       the window's path: VoiceBridge::speak() until the
//                    first sample is handed to the sound device (to the
//                    clock alone where there is none; run it under
//                    tests/support/with-null-sound-device.sh for a device)

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>

#include "app/voicebridge.h"
#include "speech/synthesizer.h"

namespace {

using namespace orvo;

const char* const kEnglish =
    "Welcome to the tour, where Orvi shows you every page of this presentation.";
// 12 words as MeCab cuts it.
const char* const kJapanese = "今日は良い天気なので、公園まで少し歩きましょう。";

void synthesizerFirstSample(benchmark::State& state, const char* text)
{
    speech::Synthesizer synthesizer;
    speech::Speech warmUp;
    synthesizer.synthesize(text, {}, warmUp); // starts espeak-ng and MeCab once
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        synthesizer.synthesize(
            text, {},
            [&](std::span<const std::int16_t> samples, std::span<const speech::WordEvent>) {
                if (samples.empty()) {
                    return true;
                }
                state.SetIterationTime(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                        .count());
                return false;
            });
    }
}

void windowFirstSample(benchmark::State& state, const char* text)
{
    app::VoiceBridge bridge;
    int id = 0;
    bridge.speak(++id, QString::fromUtf8(text), 0); // warm up
    bridge.stopAll();
    for (auto _ : state) {
        QElapsedTimer wait;
        bridge.speak(++id, QString::fromUtf8(text), 0);
        wait.start();
        while (bridge.firstSampleMs(id) < 0 && wait.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        state.SetIterationTime(static_cast<double>(bridge.firstSampleMs(id)) / 1000.0);
        bridge.stopAll();
    }
}

BENCHMARK_CAPTURE(synthesizerFirstSample, English, kEnglish)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(synthesizerFirstSample, Japanese, kJapanese)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowFirstSample, English, kEnglish)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(windowFirstSample, Japanese, kJapanese)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
