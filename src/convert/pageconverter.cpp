#include "convert/pageconverter.h"

#include "convert/pagescript.h"
#include "convert/pagetemplates.h"
#include "convert/pagewriter.h"

#include <utility>

namespace orvo::convert {

PageConverter::PageConverter(markup::TagNode& root, const config::EmotionMap& emotions,
                             std::string markupFolder, std::string outputFolder,
                             platform::Messages& messages, bool loadPlayer)
    : m_index(root), m_steps(m_index, emotions, messages), m_markupFolder(std::move(markupFolder)),
      m_outputFolder(std::move(outputFolder)),
      m_behindScriptBlock(loadPlayer ? templates::kPlayerScriptLine.text() : std::string_view()),
      m_messages(messages)
{
}

bool PageConverter::convertPage(markup::TagNode& page, int i, int n)
{
    PageScript script;
    generatePageScript(page, script, i, n);
    return writePage(page, i, script);
}

void PageConverter::generatePageScript(markup::TagNode& page, PageScript& script, int i, int n)
{
    m_steps.generatePageScript(page, script, i, n);
}

bool PageConverter::writePage(const markup::TagNode& page, int i, const PageScript& script)
{
    return convert::writePage(page, m_markupFolder, m_outputFolder, i, script, m_messages,
                              m_behindScriptBlock);
}

} // namespace orvo::convert
