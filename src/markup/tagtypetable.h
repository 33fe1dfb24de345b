#pragma once

// The tag type table: every tag the markup language knows, loaded from the
// tag type file and echoed back in normalised form.

#include <memory>
#include <string>
#include <unordered_map>

#include "markup/tagtype.h"

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {

class TagTypeTable {
public:
    // A read takes at most this many bytes of a line; the rest of a longer
    // line is read as a line of its own (the tag type file's fixed buffer).
    static constexpr std::size_t kMaxPieceBytes = 289;

    TagTypeTable() = default;
    virtual ~TagTypeTable();
    TagTypeTable(const TagTypeTable&) = delete;
    TagTypeTable& operator=(const TagTypeTable&) = delete;

    void setFileName(std::string path) { m_fileName = std::move(path); }
    const std::string& fileName() const { return m_fileName; }

    // Clears the table and reads fileName. False (after a read-error box) when
    // the file cannot be opened; malformed lines raise no message.
    bool load(platform::Messages& messages);
    // Writes the table in the format load reads. False after a write-error box.
    bool writeEcho(const std::string& path, platform::Messages& messages) const;
    // The type of that exact name, or null.
    const TagType* lookup(const std::string& name) const;
    void clear();
    std::size_t size() const { return m_entries.size(); }

    // Reads one line (without the "#" comment test) into a tag type.
    static std::unique_ptr<TagType> parseLine(std::string_view line);

private:
    std::string m_fileName;
    std::unordered_map<std::string, std::unique_ptr<TagType>> m_entries;
};

} // namespace orvo::markup
