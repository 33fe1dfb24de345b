// Parses flat bodies of 10k, 100k and 1M elements. The time per element must
// stay flat: a parser that consumes its content from the front grows
// quadratically here.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"

namespace {

using namespace orvo;

const markup::TagTypeTable& table()
{
    static const std::unique_ptr<markup::TagTypeTable> loaded = [] {
        const std::string path = "/tmp/orvo-parse-bench-tags.txt";
        std::ofstream(path) << "speak,3,children,{begin,id}\nplay,3,empty,{act,begin}\n";
        auto t = std::make_unique<markup::TagTypeTable>();
        t->setFileName(path);
        platform::RecordingMessages messages;
        t->load(messages);
        std::remove(path.c_str());
        return t;
    }();
    return *loaded;
}

std::string flatBody(std::int64_t elements)
{
    std::string body;
    body.reserve(static_cast<std::size_t>(elements) * 40);
    for (std::int64_t i = 0; i < elements; ++i) {
        body += (i % 2 == 0) ? "<speak begin=\"1s\">Hello there</speak>\n"
                             : "<play act=\"Wave\" begin=\"2s\"/>\n";
    }
    return body;
}

void BM_ParseFlatBody(benchmark::State& state)
{
    const std::string body = flatBody(state.range(0));
    for (auto _ : state) {
        auto root = std::make_unique<markup::TagNode>("orvo", 1, body, nullptr);
        platform::RecordingMessages messages;
        const bool ok = markup::parseContent(*root, table(), messages);
        benchmark::DoNotOptimize(ok);
        if (!ok) {
            state.SkipWithError("parse failed");
        }
        // Destroying the tree is measured by the tree's own tests, not here.
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}

} // namespace

BENCHMARK(BM_ParseFlatBody)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
