// Reads markup files of 1, 10 and 100 MB. The time per byte must stay flat:
// a reader that re-copies its body for every line it adds grows
// quadratically here.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "markup/markupreader.h"
#include "markup/tagnode.h"
#include "platform/messages.h"

namespace {

using namespace orvo;

// Writes a presentation of about `bytes` bytes: short body lines, a comment
// now and then, CR LF line ends. Kept in /dev/shm when it exists, so that the
// disk does not dominate the figures.
std::string writeMarkupFile(std::int64_t bytes)
{
    const std::filesystem::path folder =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    const std::string path =
        (folder / ("orvo-read-bench-" + std::to_string(bytes) + ".orv")).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<orvo>\r\n<body>\r\n";
    std::int64_t written = 0;
    for (std::int64_t page = 0; written < bytes; ++page) {
        const std::string text = "<page ref=\"p" + std::to_string(page) +
                                 ".html\">\r\n"
                                 "  <!-- page " +
                                 std::to_string(page) +
                                 " -->\r\n"
                                 "  <emotion type=\"happy\">\r\n"
                                 "    <speak begin=\"1s\">Hello and good\r\n"
                                 "day to you all</speak>\r\n"
                                 "  </emotion>\r\n"
                                 "  <play act=\"Wave\" begin=\"2s\"/>\r\n"
                                 "</page>\r\n";
        out << text;
        written += static_cast<std::int64_t>(text.size());
    }
    out << "</body>\r\n</orvo>\r\n";
    return path;
}

void BM_ReadMarkupFile(benchmark::State& state)
{
    const std::string path = writeMarkupFile(state.range(0));
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        platform::RecordingMessages messages;
        std::unique_ptr<markup::TagNode> root = markup::readMarkup(path, messages);
        if (!root) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(root->content().size());
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * size);
}

} // namespace

BENCHMARK(BM_ReadMarkupFile)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Arg(100 << 20)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
