// The tag type table loader on arbitrary file bytes, its echo file, and the
// tag parser on a fixed body against whatever table the bytes made (names
// with odd characters, negative levels, empty attribute lists).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace markup = orvo::markup;
namespace pf = orvo::platform;

namespace {

constexpr std::string_view kBody =
    "<agent character=\"Orvi\"/><body><page ref=\"a.html\" id=\"p1\" x=\"1\" y=\"2\">"
    "<emotion type=\"happy\"><speak begin=\"1s\">Hello</speak></emotion>"
    "<play act=\"Wave\"/><move area=\"left_top\"/><listen><word word=\"next\">"
    "<jump des=\"p1\"/></word></listen></page></body>";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    const orvo::test::TempDir& folder = fz::workFolder();
    markup::TagTypeTable table;
    table.setFileName(folder.write("tagtypes.txt", input.bytes));
    pf::RecordingMessages messages;
    fz::require(table.load(messages), "a readable tag type file loads");
    fz::require(table.writeEcho(folder.file("tagtypes-echo.txt"), messages),
                "the echo of a loaded table is written");
    fz::require(messages.count() == 0, "loading and echoing a readable file show no message");

    auto root = std::make_unique<markup::TagNode>("orvo", 1, std::string(kBody), nullptr);
    const bool parsed = markup::parseContent(*root, table, messages);
    fz::require(!parsed || fz::allContentConsumed(*root), "a successful parse consumes everything");
    fz::require(fz::messagesFitParse(parsed, messages),
                "a failed parse shows one failure message, a successful one none");
    return 0;
}
