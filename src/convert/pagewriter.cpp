#include "convert/pagewriter.h"

#include "convert/pagescript.h"
#include "convert/pagetemplates.h"
#include "convert/sourcepage.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

// The page file lies in the output folder, one level below the folder that
// the source pages' relative references start from.
constexpr std::string_view kUpOneFolder = "../";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t skipBlanks(std::string_view line, std::size_t pos)
{
    while (pos < line.size() && isBlank(line[pos])) {
        ++pos;
    }
    return pos;
}

// Puts the navigation bar behind the first ">" at or after `from`; false when
// the line has none there.
bool insertBehindTagEnd(std::string& line, std::size_t from, const std::string& bar)
{
    const std::size_t end = pf::find(line, ">", from);
    if (end == pf::npos) {
        return false;
    }
    line.insert(end + 1, bar);
    return true;
}

} // namespace

std::size_t findEitherCase(std::string_view line, std::string_view word)
{
    const std::size_t upper = pf::find(line, pf::toUpper(word));
    if (upper != pf::npos) {
        return upper;
    }
    return pf::find(line, pf::toLower(word));
}

void rewriteImageReference(std::string& line)
{
    std::string_view word = "background";
    std::size_t pos = findEitherCase(line, word);
    if (pos == pf::npos) {
        word = "src";
        pos = findEitherCase(line, word);
    }
    if (pos == pf::npos) {
        return;
    }
    // The word counts only where it names an attribute: blanks, "=", blanks,
    // then the value. All of these are single bytes below 0x40, which never
    // occur inside a double-byte character, so they can be tested byte-wise.
    std::size_t p = skipBlanks(line, pos + word.size());
    if (p >= line.size() || line[p] != '=') {
        return;
    }
    p = skipBlanks(line, p + 1);
    if (p >= line.size()) {
        return;
    }
    const char opening = line[p];
    std::size_t value = p;
    if (opening == '"' || opening == '\'') {
        value = p + 1;
    } else if (opening == '>' || pf::isSpace(opening)) {
        return; // no value at all
    }
    if (std::string_view(line).substr(value).starts_with("http")) {
        return;
    }
    line.insert(value, kUpOneFolder);
}

namespace {

// The page text in memory, from the page's source page; false after the read
// error box when the source page cannot be read or may not be (see
// sourcepage.h: it gets the box of a missing source page).
bool renderPage(const markup::TagNode& page, const std::string& markupFolder,
                const PageScript& script, platform::Messages& messages,
                std::string_view behindScriptBlock, std::string& pageText)
{
    const std::string source = sourcePathOf(page, markupFolder);
    const std::string readable = acceptableSourcePage(markupFolder, source);
    pf::TextReader reader;
    if (readable.empty() || !reader.open(readable)) {
        pf::reportCannotOpen(messages, source, pf::texts::kReadError);
        return false;
    }
    std::string scriptBlock; // made once, for the first "</head>" line
    bool scriptBlockMade = false;
    // A body start tag may end on a later line; the bar then goes behind the
    // first ">" that follows.
    bool barPending = false;
    std::string line;
    while (reader.readLine(line)) {
        rewriteImageReference(line);

        if (barPending && insertBehindTagEnd(line, 0, script.navigationBar)) {
            barPending = false;
        }
        const std::size_t body = findEitherCase(line, "<body");
        if (body != pf::npos && !insertBehindTagEnd(line, body, script.navigationBar)) {
            barPending = true;
        }

        const std::size_t headEnd = findEitherCase(line, "</head>");
        if (headEnd != pf::npos) {
            if (!scriptBlockMade) {
                scriptBlock = script.assembleScript();
                scriptBlock += behindScriptBlock;
                scriptBlockMade = true;
            }
            line.insert(headEnd, scriptBlock);
        }

        pageText += line;
        pageText += '\n';
    }
    if (reader.failed()) {
        // A page cut off in the middle is worse than none.
        pf::reportCannotOpen(messages, source, pf::texts::kReadError);
        return false;
    }
    return true;
}

} // namespace

bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const std::string& workingDir, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock)
{
    std::string pageText;
    if (!renderPage(page, markupFolder, script, messages, behindScriptBlock, pageText)) {
        return false;
    }
    const std::string target =
        markupFolder + workingDir + pf::fillTemplate(templates::kPageFileName, i);
    if (!pf::writeTextFile(target, pageText)) {
        pf::reportCannotOpen(messages, target, pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const platform::OpenFolder& output, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock)
{
    std::string pageText;
    if (!renderPage(page, markupFolder, script, messages, behindScriptBlock, pageText)) {
        return false;
    }
    const std::string name = pf::fillTemplate(templates::kPageFileName, i);
    if (!output.writeNewFile(name, pf::withCrLf(pageText))) {
        pf::reportCannotOpen(messages, output.pathOf(name), pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

} // namespace orvo::convert
