// The tag parser alone on arbitrary content, against the data folder's tag
// type table, followed by the walks the converter makes over the tree.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "platform/messages.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace markup = orvo::markup;
namespace pf = orvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    auto root = std::make_unique<markup::TagNode>("orvo", 1, std::string(input.bytes), nullptr);
    pf::RecordingMessages messages;
    const bool parsed = markup::parseContent(*root, fz::dataTagTypes(), messages);
    fz::require(!parsed || fz::allContentConsumed(*root), "a successful parse consumes everything");
    fz::require(fz::messagesFitParse(parsed, messages),
                "a failed parse shows one failure message, a successful one none");

    markup::TagNode* body = root->findByName("body");
    root->findById("intro");
    std::vector<markup::TagNode*> actions;
    (body != nullptr ? body : root.get())->collectActions(actions);
    for (markup::TagNode* action : actions) {
        fz::require(markup::TagNode::isActionName(action->name()), "collected tags are actions");
        action->findAncestorOrSelf("emotion");
    }
    return 0;
}
