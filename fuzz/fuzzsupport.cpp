#include "fuzzsupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "markup/tagnode.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"
#include "support/tempdir.h"

namespace orvo::fuzz {

bool takeInput(const std::uint8_t* data, std::size_t size, Input& input)
{
    if (size == 0) {
        return false;
    }
    const unsigned options = data[0];
    input.codePage = (options & 1U) != 0 ? platform::CodePage::ShiftJis : platform::CodePage::Utf8;
    input.withPlayer = (options & 2U) != 0;
    input.bytes = std::string_view(reinterpret_cast<const char*>(data + 1), size - 1);
    platform::setActiveCodePage(input.codePage);
    return true;
}

const test::TempDir& workFolder()
{
    static const test::TempDir folder;
    return folder;
}

std::string dataFolder()
{
    return ORVO_FUZZ_DATA_DIR;
}

const markup::TagTypeTable& dataTagTypes()
{
    static const std::unique_ptr<markup::TagTypeTable> table = [] {
        auto loaded = std::make_unique<markup::TagTypeTable>();
        loaded->setFileName(dataFolder() + "tagtypes.txt");
        platform::RecordingMessages messages;
        require(loaded->load(messages) && loaded->size() > 0,
                "the data folder's tag type table loads");
        return loaded;
    }();
    return *table;
}

bool allContentConsumed(const markup::TagNode& root)
{
    std::vector<const markup::TagNode*> pending{&root};
    while (!pending.empty()) {
        const markup::TagNode* node = pending.back();
        pending.pop_back();
        if (!node->content().empty()) {
            return false;
        }
        if (const markup::TagNode::Children* children = node->getChildren()) {
            for (const auto& child : *children) {
                pending.push_back(child.get());
            }
        }
    }
    return true;
}

bool messagesFitParse(bool parsed, const platform::RecordingMessages& messages)
{
    const auto failures =
        std::count_if(messages.entries().begin(), messages.entries().end(),
                      [](const platform::RecordingMessages::Entry& entry) {
                          return entry.text != "Unable to find the end single /> for tag";
                      });
    return failures == (parsed ? 0 : 1);
}

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz contract broken: %s\n", what);
        std::abort();
    }
}

} // namespace orvo::fuzz
