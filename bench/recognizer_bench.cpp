// The recognizer with a page of 10 voice commands (goal: under 300 ms from
// the end of the utterance to the result). The recognizer decodes an
// utterance once it has ended, so that time is the time of recognize() on a
// whole utterance; the voice's own words are the utterances.
//
//   Recognize/<word>   end of the utterance to the result
//   memory             resident memory of the loaded model and grammar
//                      (counter "rss_mb": the growth of the process; run
//                      first, before other recognizers warm the heap)
//   rejection          English words that are no command, at two rates and
//                      two pitches: counter "accepted_pct", how many of them
//                      were taken for a command (lower is better)

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "speech/recognizer.h"
#include "speech/synthesizer.h"

namespace {

using namespace orvo;

const std::vector<std::string> kCommands{"pages",  "emotions", "goodbye", "answer", "garden",
                                         "louder", "menu",     "music",   "help",   "question"};

speech::Utterance say(const std::string& text)
{
    speech::Synthesizer synthesizer;
    speech::Speech speech;
    synthesizer.synthesize(text, {}, speech);
    return {speech.samples, speech.sampleRate};
}

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

void memory(benchmark::State& state)
{
    double growth = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        speech::Recognizer recognizer;
        recognizer.setCommands(kCommands);
        growth = residentMegabytes() - before;
        benchmark::DoNotOptimize(recognizer.ready());
    }
    state.counters["rss_mb"] = growth;
}
BENCHMARK(memory)->Unit(benchmark::kMillisecond)->Iterations(1);

void recognize(benchmark::State& state, const char* word)
{
    speech::Recognizer recognizer;
    recognizer.setCommands(kCommands);
    const speech::Utterance utterance = say(word);
    for (auto _ : state) {
        benchmark::DoNotOptimize(recognizer.recognize(utterance));
    }
    state.counters["utterance_ms"] =
        1000.0 * static_cast<double>(utterance.samples.size()) / utterance.sampleRate;
}
void rejection(benchmark::State& state)
{
    const std::vector<std::string> others{"hello",  "computer", "banana", "elephant", "window",
                                          "table",  "orange",   "yellow", "seven",    "water",
                                          "paper",  "river",    "doctor", "silver",   "monkey",
                                          "pencil", "candle",   "rocket", "tiger",    "summer"};
    std::vector<speech::Utterance> utterances;
    for (const char* rate : {"\\Spd=140\\", "\\Spd=200\\"}) {
        for (const char* pitch : {"\\Pit=90\\", "\\Pit=160\\"}) {
            for (const std::string& word : others) {
                utterances.push_back(say(rate + std::string(pitch) + word));
            }
        }
    }
    speech::Recognizer recognizer;
    recognizer.setCommands(kCommands);
    int accepted = 0;
    for (auto _ : state) {
        accepted = 0;
        for (const speech::Utterance& utterance : utterances) {
            accepted += recognizer.recognize(utterance) ? 1 : 0;
        }
    }
    state.counters["accepted_pct"] = 100.0 * accepted / static_cast<double>(utterances.size());
}
BENCHMARK(rejection)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_CAPTURE(recognize, pages, "pages")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recognize, question, "question")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
