#include "convert/pageconverter.h"

#include "config/settings.h"
#include "convert/pagescript.h"
#include "convert/pagetemplates.h"
#include "convert/pagewriter.h"

#include <utility>

namespace orvo::convert {

PageConverter::PageConverter(markup::TagNode& root, const config::EmotionMap& emotions,
                             const config::Settings& settings, std::string markupFolder,
                             platform::Messages& messages, bool loadPlayer,
                             const markup::SourceFile* source, const markup::PageContents* pages)
    : m_index(root, source, pages), m_steps(m_index, emotions, messages),
      m_writer(std::move(markupFolder), settings.workingDir, messages,
               loadPlayer ? templates::kPlayerScriptLine.text() : std::string_view())
{
}

bool PageConverter::convertPage(markup::TagNode& page, int i, int n)
{
    m_script.reset();
    generatePageScript(page, m_script, i, n);
    return writePage(page, i, m_script);
}

bool PageConverter::preparePage(markup::TagNode& page, int i, int n, PreparedPage& prepared)
{
    m_script.reset();
    generatePageScript(page, m_script, i, n);
    return m_writer.prepare(page, m_script, prepared);
}

bool PageConverter::generatePageScript(markup::TagNode& page, PageScript& script, int i, int n)
{
    m_steps.generatePageScript(page, script, i, n);
    return true;
}

bool PageConverter::writePage(const markup::TagNode& page, int i, const PageScript& script)
{
    return m_writer.write(page, i, script);
}

} // namespace orvo::convert
