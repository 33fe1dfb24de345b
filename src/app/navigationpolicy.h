#pragma once

// Where a page shown in the view may go by itself. Presentations come from
// strangers, and their pages run scripts: what the user opens (the URL bar,
// File > Open, the command line, a dropped file, Run) goes anywhere, but a
// page may only move on to the presentation's own pages, the welcome page
// and about:blank. The http(s) links that it follows open in the desktop's
// browser, where the web belongs; every other move is refused.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace orvo::app {

enum class NavigationDecision {
    Accept,
    Refuse,
    // Refused in the view and opened in the desktop's browser instead.
    OpenInDesktopBrowser,
};

enum class NavigationOrigin {
    User, // opened by the user or the program, or moved in the history
    LinkClick,
    Page, // a script, a form, a refresh or a redirect of the page
};

class NavigationPolicy {
public:
    // The local folders (each with all below it) that the pages shown now
    // belong to: where the last location that the user opened lies, and the
    // presentation's own folder. They replace the folders allowed before.
    void setAllowedFolders(const QStringList& folders);
    void setWelcomePage(const QString& path) { m_welcomePage = path; }

    // `current` is the address of the page shown in the main frame now.
    NavigationDecision decide(const QUrl& url, NavigationOrigin origin, bool isMainFrame,
                              const QUrl& current) const;

    // The folder of a local location (a file's folder, a folder itself);
    // empty for anything that is not a local file.
    static QString folderOf(const QUrl& url);

    // Whether a local file lies in one of the allowed folders (or is the
    // welcome page): what pages may show and load by themselves.
    bool isAllowedLocalFile(const QUrl& url) const;

private:
    QStringList m_folders;
    QString m_welcomePage;
};

} // namespace orvo::app
