#pragma once

// The emotion map: for each agent character, how each named emotion is acted
// out (animations around speaking and moving, a speech prefix, a move speed).

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo::platform {
class Messages;
}

namespace orvo::config {

class EmotionEntry {
public:
    explicit EmotionEntry(std::string name);
    virtual ~EmotionEntry();

    void addSpeakBefore(std::string s) { m_speakBefore.push_back(std::move(s)); }
    void setSpeechPrefix(std::string s) { m_speechPrefix = std::move(s); }
    void addSpeakAfter(std::string s) { m_speakAfter.push_back(std::move(s)); }
    void addMoveBefore(std::string s) { m_moveBefore.push_back(std::move(s)); }
    void setMoveSpeed(std::string s) { m_moveSpeed = std::move(s); }
    void addMoveAfter(std::string s) { m_moveAfter.push_back(std::move(s)); }

    const std::string& name() const { return m_name; }
    const std::vector<std::string>& speakBefore() const { return m_speakBefore; }
    // Put in front of the spoken text; with a leading "&", its rest goes in
    // front of every word that follows a space instead.
    const std::string& speechPrefix() const { return m_speechPrefix; }
    const std::vector<std::string>& speakAfter() const { return m_speakAfter; }
    const std::vector<std::string>& moveBefore() const { return m_moveBefore; }
    // The third argument of the move command when not empty.
    const std::string& moveSpeed() const { return m_moveSpeed; }
    const std::vector<std::string>& moveAfter() const { return m_moveAfter; }

private:
    std::string m_name;
    std::vector<std::string> m_speakBefore;
    std::string m_speechPrefix;
    std::vector<std::string> m_speakAfter;
    std::vector<std::string> m_moveBefore;
    std::string m_moveSpeed;
    std::vector<std::string> m_moveAfter;
};

class CharacterEmotions {
public:
    explicit CharacterEmotions(std::string name);
    virtual ~CharacterEmotions();

    const std::string& name() const { return m_name; }
    // The entry of that exact emotion name, or null.
    const EmotionEntry* lookup(const std::string& emotion) const;
    // Replaces (and destroys) an entry stored under the same name.
    void store(std::unique_ptr<EmotionEntry> entry);
    const std::unordered_map<std::string, std::unique_ptr<EmotionEntry>>& entries() const
    {
        return m_entries;
    }

private:
    std::string m_name;
    std::unordered_map<std::string, std::unique_ptr<EmotionEntry>> m_entries;
};

class EmotionMap {
public:
    EmotionMap() = default;
    virtual ~EmotionMap();
    EmotionMap(const EmotionMap&) = delete;
    EmotionMap& operator=(const EmotionMap&) = delete;

    void setFileName(std::string path) { m_fileName = std::move(path); }
    const std::string& fileName() const { return m_fileName; }

    // Clears the map and reads fileName; false after a read-error box.
    bool load(platform::Messages& messages);
    // False after a write-error box.
    bool writeEcho(const std::string& path, platform::Messages& messages) const;
    // The table of that exact character name, or null.
    const CharacterEmotions* lookup(const std::string& character) const;
    void clear();

    // Takes the next item off the front of text (see the emotion line rules).
    static bool nextItem(std::string& text, const std::string& separator, std::string& item);
    // The same on a view that moves forward over a text, so that splitting a
    // list of n items takes time linear in its length, not n times it.
    static bool nextItem(std::string_view& text, std::string_view separator, std::string& item);

private:
    std::string m_fileName;
    std::unordered_map<std::string, std::unique_ptr<CharacterEmotions>> m_characters;
};

} // namespace orvo::config
