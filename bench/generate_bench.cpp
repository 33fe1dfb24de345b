// Generates the page scripts of presentations of 1,000, 10,000 and 100,000
// pages whose pages jump to each other and move to named spots. The time per
// page must stay flat: a generator that searched the tree for the agent tag or
// for every jump target would grow quadratically here.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "config/emotionmap.h"
#include "convert/pagescript.h"
#include "convert/stepgenerator.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"
#include "platform/messages.h"

namespace {

using namespace orvo;

markup::TagNode& add(markup::TagNode& parent, const std::string& name)
{
    return parent.appendChild(std::make_unique<markup::TagNode>(name, 2, std::string(), &parent));
}

// Each page: a speak, a move to a spot, a listen with two words that jump to
// pages far away. The agent tag and the spots stand after the body, so that a
// pre-order search for them would cross the whole presentation.
std::unique_ptr<markup::TagNode> makePresentation(std::int64_t pages)
{
    auto root = std::make_unique<markup::TagNode>("orvo", 1, std::string(), nullptr);
    markup::TagNode& body = add(*root, "body");
    for (std::int64_t i = 0; i < pages; ++i) {
        markup::TagNode& page = add(body, "page");
        page.setAttribute("id", "p" + std::to_string(i));
        page.setAttribute("realpagename", std::to_string(i + 1) + ".html");
        add(page, "speak").setText("Hello and good day to you all");
        add(page, "move").setAttribute("spot", "s" + std::to_string(i % 100));
        markup::TagNode& listen = add(page, "listen");
        for (std::int64_t w = 0; w < 2; ++w) {
            markup::TagNode& word = add(listen, "word");
            word.setAttribute("word", "go" + std::to_string(w));
            add(word, "jump").setAttribute("des", "p" + std::to_string((i * 7919 + w) % pages));
        }
    }
    for (int s = 0; s < 100; ++s) {
        markup::TagNode& spot = add(*root, "place");
        spot.setAttribute("id", "s" + std::to_string(s));
        spot.setAttribute("location", std::to_string(s) + "," + std::to_string(2 * s));
    }
    add(*root, "agent").setAttribute("character", "Merlin");
    return root;
}

void BM_GeneratePageScripts(benchmark::State& state)
{
    const std::int64_t pages = state.range(0);
    std::unique_ptr<markup::TagNode> root = makePresentation(pages);
    const auto& children = *root->getChildren()->front()->getChildren();
    config::EmotionMap emotions; // the character is unknown: one message per page
    for (auto _ : state) {
        platform::RecordingMessages messages;
        convert::TreeIndex index(*root);
        convert::StepGenerator steps(index, emotions, messages);
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < children.size(); ++i) {
            convert::PageScript script;
            steps.generatePageScript(*children[i], script, static_cast<int>(i + 1),
                                     static_cast<int>(children.size()));
            bytes += script.assembleScript().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * pages);
}

} // namespace

BENCHMARK(BM_GeneratePageScripts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
