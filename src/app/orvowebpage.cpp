#include "app/orvowebpage.h"

#include "app/apptexts.h"
#include "app/localfileguard.h"
#include "app/location.h"

#include <QDesktopServices>
#include <QTimer>

namespace orvo::app {

OrvoWebPage::OrvoWebPage(QObject* parent) : QWebEnginePage(parent)
{
    setUrlRequestInterceptor(new LocalFileGuard(m_policy, this));
}

OrvoWebPage::~OrvoWebPage() = default;

namespace {

NavigationOrigin originOf(QWebEnginePage::NavigationType type)
{
    switch (type) {
    case QWebEnginePage::NavigationTypeTyped:
    case QWebEnginePage::NavigationTypeBackForward:
    case QWebEnginePage::NavigationTypeReload:
        // The view's own loads, and the history of what was accepted before.
        return NavigationOrigin::User;
    case QWebEnginePage::NavigationTypeLinkClicked:
        return NavigationOrigin::LinkClick;
    default:
        return NavigationOrigin::Page;
    }
}

} // namespace

bool OrvoWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // Only clicked links: a location typed or run is the view's to decide,
    // and the same exact "orv" rule as the view's keeps the two from handing
    // a file back and forth.
    if (type == NavigationTypeLinkClicked && url.isLocalFile()) {
        const QString path = url.toLocalFile();
        if (extensionOf(encodeLocation(path)) == texts::kMarkupExtension) {
            QTimer::singleShot(0, this, [this, path] { emit markupLinkClicked(path); });
            return false;
        }
    }
    switch (m_policy.decide(url, originOf(type), isMainFrame, this->url())) {
    case NavigationDecision::Accept:
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    case NavigationDecision::OpenInDesktopBrowser:
        // After the request has been answered: the desktop may take a while.
        QTimer::singleShot(0, this, [url] { QDesktopServices::openUrl(url); });
        return false;
    case NavigationDecision::Refuse:
        break;
    }
    emit navigationRefused(url);
    return false;
}

} // namespace orvo::app
