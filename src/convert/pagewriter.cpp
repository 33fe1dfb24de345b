#include "convert/pagewriter.h"

#include <array>
#include <utility>

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

// The position right behind the "=" and blanks of an image attribute whose
// word lies at `pos`, where "../" goes: in front of the value, behind its
// opening quote if it has one. npos when the word names no attribute there,
// the value is missing, or it begins with "http". All the bytes looked at
// are single bytes below 0x40, which never occur inside a double-byte
// character, so they can be tested byte-wise.
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

// Appends text with every LF as CR LF, as a text-mode write does.
void appendCrLf(std::string& out, std::string_view text)
{
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos; nl = text.find('\n')) {
        out.append(text.data(), nl);
        out += "\r\n";
        text.remove_prefix(nl + 1);
    }
    out.append(text);
}

// Something put into a line at a position of the source line.
struct Insertion {
    std::size_t at;
    std::string_view text;
};

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
    std::size_t length = PageWords::length(PageWords::Background);
    std::size_t pos = findEitherCase(line, "background");
    if (pos == pf::npos) {
        length = PageWords::length(PageWords::Src);
        pos = findEitherCase(line, "src");
    }
    if (pos == pf::npos) {
        return;
    }
    const std::size_t value = imageValueAt(line, pos, length);
    if (value != pf::npos) {
        line.insert(value, kUpOneFolder);
    }
}

PageWriter::PageWriter(std::string markupFolder, const std::string& workingDir,
                       platform::Messages& messages, std::string_view behindScriptBlock)
    : m_markupFolder(std::move(markupFolder)), m_outputFolder(m_markupFolder + workingDir),
      m_behindScriptBlock(behindScriptBlock), m_messages(messages)
{
}

bool PageWriter::buildFile(const markup::TagNode& page, const PageScript& script, std::string& file)
{
    // Only a source page that may be read is read (see sourcepage.h); one that
    // may not gets the box of a missing source page.
    // The path as sourcePathOf makes it, in the kept buffer: presentations
    // written on Windows name subfolders with backslashes.
    m_sourcePath.assign(m_markupFolder);
    m_sourcePath += page.attributeView("ref");
    for (std::size_t p = pf::find(m_sourcePath, "\\", m_markupFolder.size()); p != pf::npos;
         p = pf::find(m_sourcePath, "\\", p + 1)) {
        m_sourcePath[p] = '/';
    }
    if (!readSourcePage(m_markupFolder, m_sourcePath, m_source)) {
        pf::reportCannotOpen(m_messages, m_sourcePath, pf::texts::kReadError);
        return false;
    }
    build(m_source.bytes(), script, file);
    return true;
}

bool PageWriter::write(const markup::TagNode& page, int i, const PageScript& script)
{
    if (!buildFile(page, script, m_page)) {
        return false;
    }
    if (m_output != nullptr) {
        m_targetName.clear();
        pf::appendTemplate(m_targetName, templates::kPageFileName, i);
        if (!m_output->writeNewFile(m_targetName, m_page)) {
            pf::reportCannotOpen(m_messages, m_output->pathOf(m_targetName),
                                 pf::texts::kWriteOutError);
            return false;
        }
        return true;
    }
    m_targetPath.assign(m_outputFolder);
    pf::appendTemplate(m_targetPath, templates::kPageFileName, i);
    pf::FileDescriptor out = pf::createForWriting(m_targetPath);
    if (!out.isOpen() || !pf::writeAll(out.get(), m_page) || !out.close()) {
        pf::reportCannotOpen(m_messages, m_targetPath, pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

// The page file is the source, line by line, each line ended by CR LF, with
// up to four insertions: "../" in front of an image reference's value, the
// navigation bar behind the ">" of a body start tag (and behind the first
// ">" of the line after a body start tag that did not end on its line), and
// the script block in front of "</head>". The insertions hold neither a ">"
// nor any of the words looked for, so every position is found in the source
// line as it is and the insertions are made in order of position (at one
// position in the order above).
void PageWriter::build(std::string_view source, const PageScript& script, std::string& out)
{
    m_words.index(source);
    out.clear();
    bool scriptBlockMade = false;
    bool barPending = false;
    std::size_t begin = 0;
    while (begin < source.size()) {
        // A line ends at a LF, which with a CR in front of it is one line
        // end; a last line without a LF keeps whatever it ends with.
        const std::size_t nl = m_words.nextLineFeed(begin);
        std::size_t end = nl == std::string_view::npos ? source.size() : nl;
        const std::size_t next = nl == std::string_view::npos ? source.size() : nl + 1;
        if (nl != std::string_view::npos && end > begin && source[end - 1] == '\r') {
            --end;
        }
        const std::string_view line = source.substr(begin, end - begin);

        std::array<Insertion, 4> insertions{};
        std::size_t count = 0;
        std::size_t word = m_words.inLine(PageWords::Background, begin, end);
        std::size_t wordLength = PageWords::length(PageWords::Background);
        if (word == pf::npos) {
            word = m_words.inLine(PageWords::Src, begin, end);
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
                insertions[count++] = {gt + 1, script.navigationBar};
                barPending = false;
            }
        }
        const std::size_t bodyAt = m_words.inLine(PageWords::Body, begin, end);
        if (bodyAt != pf::npos) {
            const std::size_t gt = line.find('>', bodyAt - begin);
            if (gt != std::string_view::npos) {
                insertions[count++] = {gt + 1, script.navigationBar};
            } else {
                barPending = true;
            }
        }
        const std::size_t headAt = m_words.inLine(PageWords::HeadEnd, begin, end);
        if (headAt != pf::npos) {
            if (!scriptBlockMade) {
                m_scriptBlock.clear();
                script.appendScript(m_scriptBlock);
                m_scriptBlock += m_behindScriptBlock;
                scriptBlockMade = true;
            }
            insertions[count++] = {headAt - begin, m_scriptBlock};
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
            appendCrLf(out, insertions[k].text);
            copied = insertions[k].at;
        }
        out.append(line.substr(copied));
        out += "\r\n";
        begin = next;
    }
}

bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const std::string& workingDir, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock)
{
    PageWriter writer(markupFolder, workingDir, messages, behindScriptBlock);
    return writer.write(page, i, script);
}

bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const platform::OpenFolder& output, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock)
{
    PageWriter writer(markupFolder, std::string(), messages, behindScriptBlock);
    writer.writeInto(output);
    return writer.write(page, i, script);
}

} // namespace orvo::convert
