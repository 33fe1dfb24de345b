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

bool PageWriter::prepare(const markup::TagNode& page, const PageScript& script,
                         PreparedPage& prepared)
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
    if (!readSourcePage(m_markupFolder, m_sourcePath, prepared.source)) {
        pf::reportCannotOpen(m_messages, m_sourcePath, pf::texts::kReadError);
        return false;
    }
    prepared.words.index(prepared.source.bytes());
    prepared.navigationBar.assign(script.navigationBar);
    prepared.scriptBlock.clear();
    script.appendScript(prepared.scriptBlock);
    prepared.scriptBlock += m_behindScriptBlock;
    return true;
}

bool PageWriter::buildFile(const markup::TagNode& page, const PageScript& script, std::string& file)
{
    if (!prepare(page, script, m_prepared)) {
        return false;
    }
    buildPageFile(m_prepared, file);
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
