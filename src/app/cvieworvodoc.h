#pragma once

// The one document of the program: the presentation that the user works on,
// the release/debug mode and whether the current markup file was converted.
// Its commands open, convert and run a presentation and switch the mode; its
// update handlers say which commands are enabled and checked.

#include "app/windowthreadmessages.h"
#include "config/presentation.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo::platform {
class Messages;
}

namespace orvo::app {

class DocumentView;
struct CommandState;

class CViewOrvoDoc final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CViewOrvoDoc)

public:
    // Shows the open-file dialog; the chosen full path, or empty for Cancel.
    using FileChooser = std::function<QString()>;

    // Reads the mode from the profile, then the settings file at
    // settingsPath and, only when it could be read, the tables. Failures are
    // shown through messages, which must outlive the document. With
    // programDataDir (the program's data folder, empty when it has none) an
    // empty settingDir means that folder (config/datafolder.h).
    CViewOrvoDoc(platform::Messages& messages, const std::string& settingsPath,
                 const std::optional<std::string>& programDataDir = std::nullopt,
                 QObject* parent = nullptr);
    ~CViewOrvoDoc() override;

    config::Presentation& presentation() { return m_presentation; }
    int releaseMode() const { return m_releaseMode; }
    int converted() const { return m_converted; }
    // A conversion is running on its worker thread; the commands that would
    // touch the presentation wait for it (they do nothing meanwhile).
    bool converting() const { return m_converting; }

    // Makes path the presentation's markup path. The new file has not been
    // converted yet, so `converted` becomes 0 (Convert enabled, Run disabled).
    void setMarkupPath(const std::string& path);
    // Asks whether to convert the markup file now and, after a Yes and the
    // conversion, whether to run it; a No to the first asks nothing more.
    void offerConvertAndRun();

    // The views that show the document; the first one is shown into.
    void addView(DocumentView* view);
    void removeView(DocumentView* view);
    DocumentView* firstView() const;

    // The document's file as the application opened it, and its title.
    void setPathName(const QString& path);
    const QString& pathName() const { return m_pathName; }
    QString title() const;

    void setFileChooser(FileChooser chooser);

    // Commands.
    void OnFileOpen();
    void OnExecConvert();
    void OnExecRun();
    void OnExecRelease();
    void OnExecDebug();

    // Update handlers.
    void OnUpdateExecConvert(CommandState& state) const;
    void OnUpdateExecRun(CommandState& state) const;
    void OnUpdateExecRelease(CommandState& state) const;
    void OnUpdateExecDebug(CommandState& state) const;
    void OnUpdateIndicatorMode(CommandState& state) const;

signals:
    // Something that the update handlers show has changed.
    void commandStatesChanged();
    void titleChanged();

private:
    void setReleaseMode(int mode);
    bool hasMarkupPath() const;

    platform::Messages& m_messages;
    // The presentation reports through it, so that a conversion on the
    // worker thread shows its messages on the window's thread.
    WindowThreadMessages m_windowMessages;
    config::Presentation m_presentation;
    int m_releaseMode = 0;
    int m_converted = 0;
    bool m_converting = false;
    std::vector<DocumentView*> m_views;
    QString m_pathName;
    FileChooser m_chooseFile;
};

// The real open-file dialog: the filter for markup files, "orv" added to a
// name typed without extension; a file that does not exist may be named.
QString chooseFileWithDialog();

} // namespace orvo::app
