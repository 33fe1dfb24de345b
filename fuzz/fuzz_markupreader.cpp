// The markup reader on arbitrary file bytes, then the tag parser on the body
// it read, against the data folder's tag type table: the road of every
// presentation from disk to tree.
//
// The reader takes a path only, so each input is written to a file first.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "markup/markupreader.h"
#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"
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
    const std::string path = fz::workFolder().write("input.orv", input.bytes);
    pf::RecordingMessages messages;
    const std::unique_ptr<markup::TagNode> root = markup::readMarkup(path, messages);
    fz::require(root != nullptr && messages.count() == 0,
                "a readable markup file is read without a message");
    const std::string_view body = root->content();
    fz::require(body.empty() || (!pf::isSpace(body.front()) && !pf::isSpace(body.back())),
                "the body is trimmed at both ends");

    const bool parsed = markup::parseContent(*root, fz::dataTagTypes(), messages);
    fz::require(!parsed || fz::allContentConsumed(*root), "a successful parse consumes everything");
    fz::require(fz::messagesFitParse(parsed, messages),
                "a failed parse shows one failure message, a successful one none");
    return 0;
}
