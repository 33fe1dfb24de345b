#pragma once

// Parses inline markup against a tag type file written to a temporary folder,
// recording every message: PARSE("<body>...</body>") in one line of a test.

#include <memory>
#include <string>

#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"
#include "support/tempdir.h"

namespace orvo::test {

inline const char* kTestTagTypes = "body,1,children,{}\n"
                                   "page,2,children,{ref,id}\n"
                                   "speak,3,children,{begin,id}\n"
                                   "play,3,empty,{act,begin}\n"
                                   "jump,3,empty,{des,begin}\n"
                                   "emotion,2,children,{type}\n"
                                   "listen,3,children,{}\n"
                                   "word,4,children,{word}\n";

struct Parsed {
    std::unique_ptr<markup::TagNode> root;
    platform::RecordingMessages messages;
    bool ok = false;

    markup::TagNode& child(std::size_t i) const { return *root->getChildren()->at(i); }
    const platform::RecordingMessages::Entry& message(std::size_t i) const
    {
        return messages.entries().at(i);
    }
};

inline std::unique_ptr<markup::TagTypeTable> loadTable(const std::string& file)
{
    TempDir dir;
    auto table = std::make_unique<markup::TagTypeTable>();
    table->setFileName(dir.write("tags.txt", file));
    platform::RecordingMessages ignored;
    table->load(ignored);
    return table;
}

inline std::unique_ptr<Parsed> parse(const std::string& content, const markup::TagTypeTable& table)
{
    auto result = std::make_unique<Parsed>();
    result->root = std::make_unique<markup::TagNode>("orvo", 1, content, nullptr);
    result->ok = markup::parseContent(*result->root, table, result->messages);
    return result;
}

inline std::unique_ptr<Parsed> parse(const std::string& content)
{
    static const std::unique_ptr<markup::TagTypeTable> table = loadTable(kTestTagTypes);
    return parse(content, *table);
}

// The tree's names and texts in one line: name[children]"text".
inline std::string dump(const markup::TagNode& node)
{
    std::string out = node.name();
    if (const auto* children = node.getChildren()) {
        out += "[";
        for (std::size_t i = 0; i < children->size(); ++i) {
            out += (i > 0 ? " " : "") + dump(*(*children)[i]);
        }
        out += "]";
    }
    if (node.hasText()) {
        out += "\"" + node.text() + "\"";
    }
    return out;
}

} // namespace orvo::test
