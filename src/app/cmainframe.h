#pragma once

// The main window: menus, a toolbar and the URL bar side by side at the top,
// the status bar with the message and mode panes at the bottom, and the HTML
// view filling the rest. It routes the commands to the document, the view and
// the application, and runs the document's update handlers.

#include <QKeyCombination>
#include <QMainWindow>
#include <QStringList>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;

namespace orvo::app {

class CViewOrvoDoc;
class CViewOrvoView;

class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    enum class Command {
        FileOpen,
        AppExit,
        ViewToolBar,
        ViewStatusBar,
        ViewUrlBar,
        ViewVoice,
        ExecRelease,
        ExecDebug,
        ExecConvert,
        ExecRun,
        AppAbout,
    };
    static constexpr std::size_t kCommandCount = 11;

    // The window at 0, 0 with 775 by 575 pixels, with all its bars.
    explicit CMainFrame(CViewOrvoDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Makes the view the window's content and the target of the URL bar.
    void setView(CViewOrvoView* view);

    // Shows and activates the window; the URL bar is hidden first, so that
    // every activation starts without it.
    void ActivateFrame();
    // Shows or hides the URL bar at once.
    void ShowUrlBar(bool show);
    bool isUrlBarShown() const;
    // The URL bar's text and the window's caption become text.
    void SetAddress(const QString& text);
    // The browser's status text in the message pane; empty restores the idle
    // prompt.
    void showStatusText(const QString& text);
    // The document's title changed: the caption becomes "title - ViewOrvo".
    void updateTitle();

    // Runs the document's update handlers and the frame's own, and gives
    // every command its enabled and checked state.
    void updateCommandStates();

    // Rebuilds the recent-file items of the File menu (most recent first).
    void setRecentFiles(const QStringList& files);

    QAction* action(Command command) const;
    QLineEdit* addressEdit() const { return m_address; }
    QToolBar* urlBar() const { return m_urlBar; }
    // The toolbar button held down to speak a voice command.
    QAction* listenAction() const { return m_listenAction; }
    QMenu* fileMenu() const { return m_fileMenu; }
    // The text the message pane shows now: a prompt or status text, else the
    // idle prompt.
    QString messagePaneText() const;
    QString modePaneText() const;

signals:
    void aboutRequested();
    void recentFileChosen(int index);
    // Local files dropped on the window, in the order of the drop.
    void filesDropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createFileMenu();
    void createViewMenu();
    void createExecMenu();
    void createHelpMenu();
    void createToolBar();
    void createUrlBar();
    void createStatusBar();

    QAction* addCommand(Command command, const char* text, const char* prompt);
    void OnViewUrlbar();
    void OnUrlBarEnter();
    bool belongsToWindow(QObject* object) const;
    bool isAccelerator(const QEvent* event) const;
    // Holding the listening key: true when the key event was the window's.
    bool handleListeningKey(const QEvent* event);

    CViewOrvoDoc& m_doc;
    CViewOrvoView* m_view = nullptr;
    std::array<QAction*, kCommandCount> m_actions{};
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentFilesEnd = nullptr;
    QList<QAction*> m_recentFileActions;
    QToolBar* m_toolBar = nullptr;
    QAction* m_listenAction = nullptr;
    QKeyCombination m_listeningKey;
    bool m_listeningKeyDown = false;
    QToolBar* m_urlBar = nullptr;
    QLineEdit* m_address = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_modePane = nullptr;
};

} // namespace orvo::app
