#pragma once

// One line of the tag type file: how a tag of the markup language is written
// and which attribute names it accepts.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::markup {

class TagType {
public:
    TagType(std::string name, std::int32_t level, bool hasChildren);
    virtual ~TagType();

    std::string getName() const { return m_name; }
    const std::string& name() const { return m_name; }
    std::int32_t level() const { return m_level; }
    // True for a container (start tag, content, end tag); false for a single
    // tag closed by "/>".
    bool hasChildren() const { return m_hasChildren; }
    // In file order; duplicates and empty names are kept as read.
    const std::vector<std::string>& getAttributes() const { return m_attributes; }
    void addAttribute(std::string name);
    bool acceptsAttribute(std::string_view name) const;

private:
    std::string m_name;
    std::int32_t m_level;
    bool m_hasChildren;
    std::vector<std::string> m_attributes;
};

} // namespace orvo::markup
