#include "convert/pagefilebuilder.h"

#include <array>
#include <utility>

#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/textfile.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

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

// Something put into a line at a position of the source line.
struct Insertion {
    std::size_t at;
    std::string_view text;
};

} // namespace

std::size_t imageValueAt(std::string_view line, std::size_t pos, std::size_t wordLength)
{
    std::size_t p = skipBlanks(line, pos + wordLength);
    if (p >= line.size() || line[p] != '=') {
        return pf::npos;
    }
    p = skipBlanks(line, p + 1);
    if (p >= line.size()) {
        return pf::npos;
    }
    const char opening = line[p];
    std::size_t value = p;
    if (opening == '"' || opening == '\'') {
        value = p + 1;
    } else if (opening == '>' || pf::isSpace(opening)) {
        return pf::npos; // no value at all
    }
    if (line.substr(value).starts_with("http")) {
        return pf::npos;
    }
    return value;
}

// The page file is the source, line by line, each line ended by CR LF, with
// up to four insertions: "../" in front of an image reference's value, the
// navigation bar behind the ">" of a body start tag (and behind the first
// ">" of the line after a body start tag that did not end on its line), and
// the script block in front of "</head>". The insertions hold neither a ">"
// nor any of the words looked for, so every position is found in the source
// line as it is and the insertions are made in order of position (at one
// position in the order above).
void buildPageFile(PreparedPage& page, std::string& out)
{
    const std::string_view source = page.source.bytes();
    out.clear();
    bool barPending = false;
    std::size_t begin = 0;
    while (begin < source.size()) {
        // A line ends at a LF, which with a CR in front of it is one line
        // end; a last line without a LF keeps whatever it ends with.
        const std::size_t nl = page.words.nextLineFeed(begin);
        std::size_t end = nl == std::string_view::npos ? source.size() : nl;
        const std::size_t next = nl == std::string_view::npos ? source.size() : nl + 1;
        if (nl != std::string_view::npos && end > begin && source[end - 1] == '\r') {
            --end;
        }
        const std::string_view line = source.substr(begin, end - begin);

        std::array<Insertion, 4> insertions{};
        std::size_t count = 0;
        std::size_t word = page.words.inLine(PageWords::Background, begin, end);
        std::size_t wordLength = PageWords::length(PageWords::Background);
        if (word == pf::npos) {
            word = page.words.inLine(PageWords::Src, begin, end);
            wordLength = PageWords::length(PageWords::Src);
        }
        if (word != pf::npos) {
            const std::size_t value = imageValueAt(line, word - begin, wordLength);
            if (value != pf::npos) {
                insertions[count++] = {value, kUpOneFolder};
            }
        }
        if (barPending) {
            const std::size_t gt = line.find('>');
            if (gt != std::string_view::npos) {
                insertions[count++] = {gt + 1, page.navigationBar};
                barPending = false;
            }
        }
        const std::size_t bodyAt = page.words.inLine(PageWords::Body, begin, end);
        if (bodyAt != pf::npos) {
            const std::size_t gt = line.find('>', bodyAt - begin);
            if (gt != std::string_view::npos) {
                insertions[count++] = {gt + 1, page.navigationBar};
            } else {
                barPending = true;
            }
        }
        const std::size_t headAt = page.words.inLine(PageWords::HeadEnd, begin, end);
        if (headAt != pf::npos) {
            insertions[count++] = {headAt - begin, page.scriptBlock};
        }

        // In order of position; at one position they keep the order they were
        // made in (an insertion sort of at most four, which allocates nothing).
        for (std::size_t k = 1; k < count; ++k) {
            for (std::size_t j = k; j > 0 && insertions[j].at < insertions[j - 1].at; --j) {
                std::swap(insertions[j], insertions[j - 1]);
            }
        }
        std::size_t copied = 0;
        for (std::size_t k = 0; k < count; ++k) {
            out.append(line.substr(copied, insertions[k].at - copied));
            pf::appendWithCrLf(out, insertions[k].text);
            copied = insertions[k].at;
        }
        out.append(line.substr(copied));
        out += "\r\n";
        begin = next;
    }
}

} // namespace orvo::convert
