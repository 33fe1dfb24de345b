#include "app/navigationpolicy.h"

#include <QDir>
#include <QFileInfo>

namespace orvo::app {

namespace {

bool isWeb(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// about:blank, and about:srcdoc for frames whose document is given inline.
bool isBlank(const QUrl& url)
{
    return url.scheme() == QLatin1String("about");
}

// The cleaned absolute path of a local file URL: "/a/b/../c" is "/a/c", so a
// path cannot climb out of a folder while seeming to lie inside it.
QString cleanLocalPath(const QUrl& url)
{
    return QDir::cleanPath(url.toLocalFile());
}

} // namespace

void NavigationPolicy::setAllowedFolders(const QStringList& folders)
{
    m_folders.clear();
    for (const QString& folder : folders) {
        if (!folder.isEmpty()) {
            m_folders.append(QDir::cleanPath(folder));
        }
    }
}

QString NavigationPolicy::folderOf(const QUrl& url)
{
    if (!url.isLocalFile()) {
        return {};
    }
    const QString path = cleanLocalPath(url);
    return QFileInfo(path).isDir() ? path : QFileInfo(path).path();
}

bool NavigationPolicy::isAllowedLocalFile(const QUrl& url) const
{
    const QString path = cleanLocalPath(url);
    if (!m_welcomePage.isEmpty() && path == QDir::cleanPath(m_welcomePage)) {
        return true;
    }
    for (const QString& folder : m_folders) {
        const QString prefix =
            folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        if (path == folder || path.startsWith(prefix)) {
            return true;
        }
    }
    return false;
}

NavigationDecision NavigationPolicy::decide(const QUrl& url, NavigationOrigin origin,
                                            bool isMainFrame, const QUrl& current) const
{
    if (origin == NavigationOrigin::User) {
        return NavigationDecision::Accept;
    }
    if (url.isLocalFile()) {
        return isAllowedLocalFile(url) ? NavigationDecision::Accept : NavigationDecision::Refuse;
    }
    if (isBlank(url)) {
        return NavigationDecision::Accept;
    }
    if (!isMainFrame) {
        // A frame of the page may show the web or inline content; it cannot
        // reach local files, which are decided above.
        return NavigationDecision::Accept;
    }
    if (isWeb(url)) {
        if (origin == NavigationOrigin::LinkClick) {
            return NavigationDecision::OpenInDesktopBrowser;
        }
        // A web page that the user opened in the view goes on within the web
        // (redirects, forms); a local page does not take the view there.
        return isWeb(current) ? NavigationDecision::Accept : NavigationDecision::Refuse;
    }
    return NavigationDecision::Refuse;
}

} // namespace orvo::app
