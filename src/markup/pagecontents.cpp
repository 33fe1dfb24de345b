#include "markup/pagecontents.h"

#include <algorithm>
#include <string>

#include "markup/contentparser.h"
#include "markup/tagnodebuilder.h"
#include "platform/messages.h"

namespace orvo::markup {

namespace {

// Room for the tags of an ordinary page: a few dozen tags with their arrays.
constexpr std::size_t kScratchBlock = std::size_t{64} << 10;

// The messages of a page parsed again: the first parse showed them.
class QuietMessages final : public platform::Messages {
public:
    void error(const std::string& /*text*/, const std::string& /*caption*/) override {}
    bool ask(const std::string& /*text*/, const std::string& /*caption*/) override { return false; }
    void report(const platform::Message& /*message*/) override {}
};

} // namespace

PageContents::PageContents(const TagTypeTable& table)
    : m_table(table), m_firstBlock(kScratchBlock),
      m_scratch(m_firstBlock.data(), m_firstBlock.size())
{
}

PageContents::~PageContents() = default;

std::span<const TagNode::Child> PageContents::keptIn(std::size_t index) const
{
    const auto [first, last] = std::equal_range(m_keptPages.begin(), m_keptPages.end(), index);
    return {m_kept.data() + (first - m_keptPages.begin()), static_cast<std::size_t>(last - first)};
}

void PageContents::setBody(TagNode& root, std::string_view bodyText, TagNode& bodyTag)
{
    m_root = &root;
    m_bodyText = bodyText;
    m_bodyTag = &bodyTag;
}

void PageContents::addPage(std::size_t begin, std::size_t end)
{
    m_pages.push_back(Page{begin, end});
}

void PageContents::keep(TagNode::Child copy)
{
    m_kept.push_back(std::move(copy));
    m_keptPages.push_back(m_pages.size() - 1);
}

void PageContents::open(std::size_t index, TagNode& page)
{
    const Page& span = m_pages.at(index);
    if (span.begin == span.end) {
        return;
    }
    if (!m_parser) {
        m_quiet = std::make_unique<QuietMessages>();
        m_parser = std::make_unique<ContentParser>(m_table, *m_quiet, nullptr, false);
    }
    // The first parse of these bytes succeeded, and so does this one; were
    // it to fail, the page would keep the tags made up to the failure.
    static_cast<void>(m_parser->parse(page, m_bodyText, span.begin, span.end, m_scratch));
    TagNodeBuilder::setOpenPage(*m_root, &page, &m_scratch);
}

void PageContents::close(TagNode& page)
{
    if (m_root != nullptr) {
        TagNodeBuilder::setOpenPage(*m_root, nullptr, nullptr);
    }
    TagNodeBuilder::removeChildren(page, m_dropping);
    m_scratch.release();
}

} // namespace orvo::markup
