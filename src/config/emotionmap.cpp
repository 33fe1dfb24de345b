#include "config/emotionmap.h"

#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/messages.h"
#include "platform/replacefile.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::config {

namespace pf = orvo::platform;

namespace {

constexpr std::string_view kCharacterPrefix = "character";
constexpr int kFieldCount = 6;

// Takes the next brace field off the front of rest: the text between the first
// "{" and the first "}", or from the start up to the "}" when there is no "{".
// Without a "}" (or with it before the "{") the field is empty and rest stays,
// so every later field is empty too.
std::string takeField(std::string_view& rest)
{
    const std::size_t open = pf::find(rest, "{");
    const std::size_t close = pf::find(rest, "}");
    std::string field;
    if (close != pf::npos && (open == pf::npos || open < close)) {
        const std::size_t from = open == pf::npos ? 0 : open + 1;
        field.assign(rest.substr(from, close - from));
    }
    if (close != pf::npos) {
        rest.remove_prefix(close + 1);
    }
    return field;
}

template <typename Add> void splitList(std::string_view text, Add add)
{
    std::string item;
    while (EmotionMap::nextItem(text, ",", item)) {
        add(item);
    }
}

std::string joined(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items) {
        out += item;
    }
    return out;
}

} // namespace

EmotionEntry::EmotionEntry(std::string name) : m_name(std::move(name))
{
}

EmotionEntry::~EmotionEntry() = default;

CharacterEmotions::CharacterEmotions(std::string name) : m_name(std::move(name))
{
}

CharacterEmotions::~CharacterEmotions() = default;

const EmotionEntry* CharacterEmotions::lookup(const std::string& emotion) const
{
    const auto it = m_entries.find(emotion);
    return it == m_entries.end() ? nullptr : it->second.get();
}

void CharacterEmotions::store(std::unique_ptr<EmotionEntry> entry)
{
    std::string key = entry->name();
    m_entries.insert_or_assign(std::move(key), std::move(entry));
}

EmotionMap::~EmotionMap()
{
    clear();
}

bool EmotionMap::nextItem(std::string& text, const std::string& separator, std::string& item)
{
    std::string_view rest = text;
    const bool taken = nextItem(rest, separator, item);
    text = std::string(rest);
    return taken;
}

bool EmotionMap::nextItem(std::string_view& text, std::string_view separator, std::string& item)
{
    text = pf::trimView(text);
    if (text.empty()) {
        return false;
    }
    const std::size_t at = pf::find(text, separator);
    if (at == pf::npos) {
        item.assign(text);
        text = {};
    } else {
        item = pf::trim(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
    return true;
}

bool EmotionMap::load(pf::Messages& messages)
{
    clear();
    pf::TextReader reader;
    if (!reader.open(m_fileName)) {
        pf::reportCannotOpen(messages, m_fileName, pf::texts::kReadError);
        return false;
    }
    CharacterEmotions* current = nullptr;
    std::string line;
    while (reader.readLine(line)) {
        if (!line.empty() && line.front() == '#') {
            continue;
        }
        std::string_view rest = line;
        if (rest.substr(0, kCharacterPrefix.size()) == kCharacterPrefix) {
            const std::size_t eq = pf::find(rest, "=");
            if (eq != pf::npos) {
                rest.remove_prefix(eq + 1);
            }
            auto character = std::make_unique<CharacterEmotions>(pf::trim(rest));
            current = character.get();
            std::string key = character->name();
            m_characters.insert_or_assign(std::move(key), std::move(character));
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const std::size_t colon = pf::find(rest, ":");
        auto entry = std::make_unique<EmotionEntry>(
            colon == pf::npos ? std::string() : pf::trim(rest.substr(0, colon)));
        if (colon != pf::npos) {
            rest.remove_prefix(colon + 1);
        }
        std::string fields[kFieldCount];
        for (std::string& field : fields) {
            field = takeField(rest);
        }
        splitList(fields[0], [&](std::string& s) { entry->addSpeakBefore(std::move(s)); });
        entry->setSpeechPrefix(fields[1]);
        splitList(fields[2], [&](std::string& s) { entry->addSpeakAfter(std::move(s)); });
        splitList(fields[3], [&](std::string& s) { entry->addMoveBefore(std::move(s)); });
        entry->setMoveSpeed(fields[4]);
        splitList(fields[5], [&](std::string& s) { entry->addMoveAfter(std::move(s)); });
        current->store(std::move(entry));
    }
    return true;
}

bool EmotionMap::writeEcho(const std::string& path, pf::Messages& messages) const
{
    std::string text;
    for (const auto& [name, character] : m_characters) {
        text += "character=" + name + "\n";
        for (const auto& [emotion, entry] : character->entries()) {
            text += emotion + ":{" + joined(entry->speakBefore()) + "}{" + entry->speechPrefix() +
                    "}{" + joined(entry->speakAfter()) + "}{" + joined(entry->moveBefore()) + "}{" +
                    entry->moveSpeed() + "}{" + joined(entry->moveAfter()) + "}\n";
        }
    }
    // Replaced, never written through: tempDir may be shared (see replacefile.h).
    // A full disk is a failed write, not a success.
    if (!pf::replaceTextFile(path, text)) {
        pf::reportCannotOpen(messages, path, pf::texts::kWriteError);
        return false;
    }
    return true;
}

const CharacterEmotions* EmotionMap::lookup(const std::string& character) const
{
    const auto it = m_characters.find(character);
    return it == m_characters.end() ? nullptr : it->second.get();
}

void EmotionMap::clear()
{
    m_characters.clear();
}

} // namespace orvo::config
