#pragma once

// Shared ground of the shell tests: a temporary folder that holds the
// settings file, the profile and the presentations; a view that records where
// it was sent; readable forms of the recorded messages.

#include "app/documentview.h"
#include "platform/messages.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace orvo::test {

// Texts the tests expect, byte for byte.
inline constexpr const char* kAskConvert = "Do you want to convert the ORVO file to HTML file now?";
inline constexpr const char* kAskRun = "Do you want to run the ORVO file now?";

// A presentation that converts: one page with a speech.
extern const char* const kGoodMarkup;
// A presentation without a body: reading and parsing work, converting fails.
extern const char* const kMarkupWithoutBody;

class ShellFixture {
public:
    // Puts the profile (QSettings) into the temporary folder and writes a
    // settings file that uses the source tree's tables and "pages/" as the
    // output folder.
    ShellFixture();

    bool isValid() const { return m_dir.isValid(); }
    // Full path of a file in the temporary folder.
    QString path(const QString& name) const;
    std::string bytesPath(const QString& name) const;
    // Writes a file (creating its folder); a relative name is taken in the
    // temporary folder. Returns the full path.
    QString write(const QString& name, const QByteArray& content) const;
    // Writes a markup file and, beside it, the page "one.html" it refers to.
    QString writePresentation(const QString& name, const char* markup) const;
    const std::string& settingsPath() const { return m_settingsPath; }
    QString welcomePage() const { return path(QStringLiteral("welcome.html")); }

private:
    QTemporaryDir m_dir;
    std::string m_settingsPath;
};

// A view that records the locations it is sent to.
class RecordingView final : public app::DocumentView {
public:
    void Navigate(const std::string& location) override { m_locations.push_back(location); }
    const std::vector<std::string>& locations() const { return m_locations; }

private:
    std::vector<std::string> m_locations;
};

// "error|caption|text" or "ask|caption|text" for each recorded message.
QStringList describe(const platform::RecordingMessages& messages);
QString askLine(const char* text, const char* caption);
QString errorLine(const std::string& text, const std::string& caption);

} // namespace orvo::test
