#pragma once

// The application: starts the program (profile, document, window and view,
// the command line), opens the files handed to it (command line, recent
// files, dropped files) and shows the about box.

#include "app/commandline.h"
#include "app/recentfilelist.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

namespace orvo::platform {
class Messages;
}

namespace orvo::app {

class CMainFrame;
class CViewOrvoDoc;
class CViewOrvoView;

class CViewOrvoApp final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CViewOrvoApp)

public:
    // messages must outlive the application; settingsPath is the settings
    // file that the document reads when it is created, programDataDir the
    // program's data folder that an empty settingDir stands for (none: the
    // settings are used as written).
    CViewOrvoApp(platform::Messages& messages, std::string settingsPath,
                 std::optional<std::string> programDataDir = std::nullopt,
                 QObject* parent = nullptr);
    ~CViewOrvoApp() override;

    // Start-up, in order: the profile and its recent-file list; the document
    // (which reads the mode, the settings and the tables), the window and the
    // view; the command line (arguments as QCoreApplication::arguments()
    // gives them, the program first): its file is opened like any file
    // handed to the application, else the view shows the welcome page; then
    // the window is shown. False when the command line's file cannot be
    // opened: the program ends.
    bool InitInstance(const QStringList& arguments);

    // Remembers path as requestedPath, then opens it as the document's file:
    // the file must exist and be readable; it goes first in the recent-file
    // list, the view opens it (initial update) and the window is activated.
    // False, after an error box, when the file cannot be opened.
    bool OpenDocumentFile(const QString& path);

    // The last path handed to OpenDocumentFile, as given; empty at start.
    const std::string& requestedPath() const { return m_requestedPath; }

    CViewOrvoDoc* document() const { return m_doc.get(); }
    CMainFrame* mainFrame() const { return m_frame.get(); }
    CViewOrvoView* view() const { return m_view; }
    const RecentFileList& recentFiles() const { return m_recentFiles; }

    void OnAppAbout();

private:
    void createDocumentFrameAndView();
    void OnOpenRecentFile(int index);
    void OnDropFiles(const QStringList& paths);
    void initialUpdateFrame();

    platform::Messages& m_messages;
    std::string m_settingsPath;
    std::optional<std::string> m_programDataDir;
    std::string m_requestedPath;
    RecentFileList m_recentFiles;
    std::unique_ptr<CViewOrvoDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    CViewOrvoView* m_view = nullptr; // owned by the frame
};

} // namespace orvo::app
