#include "markup/tagtypetable.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/messages.h"
#include "platform/replacefile.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::markup {

namespace pf = orvo::platform;

namespace {

// The text up to the first "," or ";", trimmed.
std::string_view fieldOf(std::string_view rest)
{
    return pf::trimView(rest.substr(0, std::min(rest.size(), pf::findAnyOf(rest, ",;"))));
}

// Everything after the first ","; the text itself when it holds none.
std::string_view afterComma(std::string_view rest)
{
    const std::size_t comma = pf::find(rest, ",");
    return comma == pf::npos ? rest : rest.substr(comma + 1);
}

} // namespace

TagTypeTable::~TagTypeTable()
{
    clear();
}

std::unique_ptr<TagType> TagTypeTable::parseLine(std::string_view line)
{
    std::string_view rest = line;
    std::string name(fieldOf(rest));
    rest = afterComma(rest);
    const std::int32_t level = pf::parseLeadingInt(fieldOf(rest));
    rest = afterComma(rest);
    const bool hasChildren = fieldOf(rest) != "empty";
    rest = afterComma(rest);

    auto type = std::make_unique<TagType>(std::move(name), level, hasChildren);
    rest = pf::trimView(rest);
    if (pf::find(rest, "{}") != pf::npos) {
        return type;
    }
    const std::string list = pf::removeChars(rest, "{}");
    std::string_view items = list;
    while (!items.empty()) {
        const std::size_t end = std::min(items.size(), pf::findAnyOf(items, ",;"));
        type->addAttribute(pf::trim(items.substr(0, end)));
        items.remove_prefix(end);
        const std::size_t comma = pf::find(items, ",");
        if (comma == pf::npos) {
            break;
        }
        items.remove_prefix(comma + 1);
    }
    return type;
}

bool TagTypeTable::load(pf::Messages& messages)
{
    clear();
    pf::TextReader reader;
    if (!reader.open(m_fileName)) {
        pf::reportCannotOpen(messages, m_fileName, pf::texts::kReadError);
        return false;
    }
    std::string piece;
    while (reader.readPiece(piece, kMaxPieceBytes)) {
        if (piece.front() == '#') {
            continue;
        }
        std::unique_ptr<TagType> type = parseLine(piece);
        std::string key = type->name();
        m_entries.insert_or_assign(std::move(key), std::move(type));
    }
    return true;
}

bool TagTypeTable::writeEcho(const std::string& path, pf::Messages& messages) const
{
    std::string text;
    for (const auto& [name, type] : m_entries) {
        text += name;
        text += ',';
        text += pf::toDecimal(type->level());
        text += type->hasChildren() ? ",children,{" : ",empty,{";
        for (const std::string& attribute : type->getAttributes()) {
            text += attribute;
            text += ',';
        }
        text += "}\n";
    }
    // Replaced, never written through: tempDir may be shared (see replacefile.h).
    // A full disk is a failed write too, not a success.
    if (!pf::replaceTextFile(path, text)) {
        pf::reportCannotOpen(messages, path, pf::texts::kWriteError);
        return false;
    }
    return true;
}

const TagType* TagTypeTable::lookup(const std::string& name) const
{
    const auto it = m_entries.find(name);
    return it == m_entries.end() ? nullptr : it->second.get();
}

void TagTypeTable::clear()
{
    m_entries.clear();
}

} // namespace orvo::markup
