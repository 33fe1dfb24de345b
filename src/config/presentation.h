#pragma once

// The presentation data set: the one object per document that owns what the
// system knows about a presentation (the markup file's path, the tag type
// table, the tag tree and the emotion map) and that reads, parses and, later,
// converts it. Every failure is shown through the Messages given at
// construction; the operations return only whether they succeeded.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "markup/sourcemap.h"

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {
class PageContents;
class TagNode;
class TagTypeTable;
} // namespace orvo::markup

namespace orvo::config {

class EmotionMap;
struct Settings;

class Presentation {
public:
    // `messages` and `settingsIn` must outlive the object. Tests pass their
    // own Settings; the program uses the process-wide one.
    explicit Presentation(platform::Messages& messages);
    Presentation(platform::Messages& messages, Settings& settingsIn);
    virtual ~Presentation();
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;

    void setMarkupPath(std::string path);
    std::string getMarkupPath() const;

    // The root of the tag tree, or null when no markup file has been read
    // (or the last read failed, or a conversion released the tree).
    markup::TagNode* getRoot() const;
    EmotionMap& getEmotionMap();
    const EmotionMap& getEmotionMap() const;
    markup::TagTypeTable& getTagTypeTable();
    const markup::TagTypeTable& getTagTypeTable() const;
    // The first node of that name in pre-order from the root (the root
    // itself first), or null; null too when there is no tree.
    markup::TagNode* findTag(std::string_view name) const;

    platform::Messages& messages() const { return m_messages; }
    // The markup file that the tree was read from, with the map from body
    // offsets (TagNode::sourceOffset) to its lines and columns.
    const markup::SourceFile& source() const { return m_source; }
    const Settings& settings() const { return m_settings; }

    // What creating a document does: reads the settings file into the
    // Settings and, only when it could be read, loads both tables. False when
    // any of it failed; every failure has been shown already.
    bool loadSettingsAndTables(const std::string& settingsPath);
    // The programs call this first: their settings then leave the data
    // folder to them (config/datafolder.h). Without it the settings are used
    // exactly as written.
    void setProgramDataFolder(std::string folder);

    // Loads the tag type table from settingDir + tagTypeFile and, only when
    // that worked, the emotion map from settingDir + emotionMapFile.
    bool loadTables();
    // Each loads its table from `path` and writes the echo file into tempDir;
    // a table counts as loaded only when its echo file was written too.
    bool loadTagTypes(const std::string& path);
    bool loadEmotionMap(const std::string& path);

    // Destroys the tree held so far, then reads the markup file into a new
    // root whose content is the unparsed document body. False (after the
    // read-error box) when the file cannot be read; there is then no tree.
    [[nodiscard]] bool readMarkupFile();
    // Parses the root's content against the tag type table. False after the
    // parser's message. Call only after readMarkupFile returned true.
    // With warnRemovedBlanks, values whose blanks the parser removes are
    // reported as warnings (for `orvo check`).
    [[nodiscard]] bool parseTree(bool warnRemovedBlanks = false);
    // parseTree for a conversion, which needs one page at a time: the pages
    // are left without the tags inside them, which pageContents() gives
    // again page by page. The messages are those of parseTree().
    [[nodiscard]] bool parseTreeByPage();
    // The pages of a tree parsed by page; null after parseTree.
    markup::PageContents* pageContents() const { return m_pages.get(); }
    // Destroys the tree; the root becomes null.
    void releaseTree();

private:
    platform::Messages& m_messages;
    Settings& m_settings;
    std::string m_markupPath;
    std::optional<std::string> m_programDataFolder;
    std::unique_ptr<markup::TagTypeTable> m_tagTypes;
    std::unique_ptr<markup::TagNode> m_root;
    std::unique_ptr<markup::PageContents> m_pages;
    markup::SourceFile m_source;
    std::unique_ptr<EmotionMap> m_emotionMap;
};

} // namespace orvo::config
