#include "markup/tagtype.h"

#include <algorithm>
#include <utility>

namespace orvo::markup {

TagType::TagType(std::string name, std::int32_t level, bool hasChildren)
    : m_name(std::move(name)), m_level(level), m_hasChildren(hasChildren)
{
}

TagType::~TagType() = default;

void TagType::addAttribute(std::string name)
{
    m_attributes.push_back(std::move(name));
}

bool TagType::acceptsAttribute(std::string_view name) const
{
    return std::find(m_attributes.begin(), m_attributes.end(), name) != m_attributes.end();
}

} // namespace orvo::markup
