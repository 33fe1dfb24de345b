#include "config/presentation.h"

#include "config/datafolder.h"
#include "config/emotionmap.h"
#include "config/settings.h"
#include "markup/markupreader.h"
#include "markup/pagecontents.h"
#include "markup/tagnode.h"
#include "markup/tagparser.h"
#include "markup/tagtypetable.h"

#include <utility>

namespace orvo::config {

Presentation::Presentation(platform::Messages& messages)
    : Presentation(messages, config::settings())
{
}

Presentation::Presentation(platform::Messages& messages, Settings& settingsIn)
    : m_messages(messages), m_settings(settingsIn),
      m_tagTypes(std::make_unique<markup::TagTypeTable>()),
      m_emotionMap(std::make_unique<EmotionMap>())
{
}

Presentation::~Presentation()
{
    // Torn down in a fixed order: the path, the tag type table, the tree,
    // then the emotion map.
    m_pages.reset();
    m_markupPath.clear();
    if (m_tagTypes) {
        m_tagTypes->clear();
        m_tagTypes.reset();
    }
    if (m_root) {
        m_root->clear();
        m_root.reset();
    }
    m_emotionMap.reset();
}

void Presentation::setMarkupPath(std::string path)
{
    m_markupPath = std::move(path);
}

std::string Presentation::getMarkupPath() const
{
    return m_markupPath;
}

markup::TagNode* Presentation::getRoot() const
{
    return m_root.get();
}

EmotionMap& Presentation::getEmotionMap()
{
    return *m_emotionMap;
}

const EmotionMap& Presentation::getEmotionMap() const
{
    return *m_emotionMap;
}

markup::TagTypeTable& Presentation::getTagTypeTable()
{
    return *m_tagTypes;
}

const markup::TagTypeTable& Presentation::getTagTypeTable() const
{
    return *m_tagTypes;
}

markup::TagNode* Presentation::findTag(std::string_view name) const
{
    return m_root ? m_root->findByName(name) : nullptr;
}

void Presentation::setProgramDataFolder(std::string folder)
{
    m_programDataFolder = std::move(folder);
}

bool Presentation::loadSettingsAndTables(const std::string& settingsPath)
{
    if (!readSettings(settingsPath, m_settings, m_messages)) {
        return false;
    }
    if (m_programDataFolder &&
        !completeDataFolder(m_settings, *m_programDataFolder, settingsPath, m_messages)) {
        return false;
    }
    return loadTables();
}

bool Presentation::loadTables()
{
    if (!loadTagTypes(m_settings.settingDir + m_settings.tagTypeFile)) {
        return false;
    }
    return loadEmotionMap(m_settings.settingDir + m_settings.emotionMapFile);
}

bool Presentation::loadTagTypes(const std::string& path)
{
    m_tagTypes->setFileName(path);
    if (!m_tagTypes->load(m_messages)) {
        return false;
    }
    return m_tagTypes->writeEcho(m_settings.tempDir + m_settings.tagTypeFile, m_messages);
}

bool Presentation::loadEmotionMap(const std::string& path)
{
    m_emotionMap->setFileName(path);
    if (!m_emotionMap->load(m_messages)) {
        return false;
    }
    return m_emotionMap->writeEcho(m_settings.tempDir + m_settings.emotionMapFile, m_messages);
}

bool Presentation::readMarkupFile()
{
    releaseTree();
    m_source.path = m_markupPath;
    m_root = markup::readMarkup(m_markupPath, m_messages, &m_source.map);
    return m_root != nullptr;
}

bool Presentation::parseTree(bool warnRemovedBlanks)
{
    if (!m_root) {
        // Only reached when a caller skipped readMarkupFile: nothing to parse.
        return false;
    }
    return markup::parseContent(*m_root, *m_tagTypes, m_messages, &m_source, warnRemovedBlanks);
}

bool Presentation::parseTreeByPage()
{
    if (!m_root) {
        return false;
    }
    m_pages = std::make_unique<markup::PageContents>(*m_tagTypes);
    return markup::parseContentByPage(*m_root, *m_tagTypes, m_messages, &m_source, *m_pages);
}

void Presentation::releaseTree()
{
    m_pages.reset();
    m_root.reset();
    m_source.map.clear();
}

} // namespace orvo::config
