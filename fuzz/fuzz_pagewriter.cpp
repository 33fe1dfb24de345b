// The page writer's rewriting of a source page: a fuzzed source page (in
// place of the fixed pages of fuzz_convert) turned into a page file with
// its image references moved, the navigation bar and the script block.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "convert/pagescript.h"
#include "convert/pagewriter.h"
#include "markup/tagnode.h"
#include "platform/messages.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace convert = orvo::convert;
namespace pf = orvo::platform;

namespace {

// Control bytes that mark the inserted texts, so that they can be counted;
// inputs that hold them are left out.
constexpr char kBarMark = '\x01';
constexpr char kScriptMark = '\x02';

std::size_t countOf(std::string_view text, char c)
{
    std::size_t n = 0;
    for (const char b : text) {
        n += b == c ? 1 : 0;
    }
    return n;
}

// The source lines as the writer reads them: a CR right before a LF belongs
// to the line end; a last line without a LF counts too.
std::size_t lineCount(std::string_view text)
{
    return countOf(text, '\n') + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

std::size_t headLines(std::string_view text)
{
    std::size_t n = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        n += convert::findEitherCase(line, "</head>") != pf::npos ? 1 : 0;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input) ||
        input.bytes.find_first_of(std::string_view("\x01\x02", 2)) != std::string_view::npos) {
        return 0;
    }
    const orvo::test::TempDir& folder = fz::workFolder();
    static const bool outputFolderMade = std::filesystem::create_directories(folder.file("out"));
    (void)outputFolderMade;
    folder.write("page.html", input.bytes);

    auto page = std::make_unique<orvo::markup::TagNode>("page", 3, std::string(), nullptr);
    page->setAttribute("ref", "page.html");
    convert::PageScript script;
    script.navigationBar = std::string(1, kBarMark) + "<center> 1 </center>\n";
    script.onLoadSub = std::string(1, kScriptMark);
    const std::string behind = input.withPlayer ? "<script src=\"x.js\"></script>\n" : "";
    pf::RecordingMessages messages;
    fz::require(convert::writePage(*page, folder.path(), "out/", 1, script, messages, behind),
                "a readable source page is written");
    fz::require(messages.count() == 0, "a written page shows no message");

    const std::string written = orvo::test::readBytes(folder.file("out/1.html"));
    std::size_t crLf = 0;
    for (std::size_t at = written.find("\r\n"); at != std::string::npos;
         at = written.find("\r\n", at + 2)) {
        ++crLf;
    }
    fz::require(crLf == countOf(written, '\n'), "every line of a page file ends with CR LF");
    const std::size_t scripts = countOf(written, kScriptMark);
    fz::require(scripts == headLines(input.bytes), "every \"</head>\" line gets the script block");
    // Nothing of the source is lost or doubled: its lines, plus those of the
    // inserted texts.
    const std::size_t scriptLines = countOf(script.assembleScript() + behind, '\n');
    fz::require(countOf(written, '\n') ==
                    lineCount(input.bytes) + countOf(written, kBarMark) * 1 + scripts * scriptLines,
                "the page file has the source's lines and the inserted ones");
    return 0;
}
