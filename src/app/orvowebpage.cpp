#include "app/orvowebpage.h"

#include "app/apptexts.h"
#include "app/location.h"

#include <QTimer>

namespace orvo::app {

OrvoWebPage::OrvoWebPage(QObject* parent) : QWebEnginePage(parent)
{
}

OrvoWebPage::~OrvoWebPage() = default;

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
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

} // namespace orvo::app
