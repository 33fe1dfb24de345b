#include "app/localfileguard.h"

#include "app/navigationpolicy.h"

namespace orvo::app {

LocalFileGuard::LocalFileGuard(const NavigationPolicy& policy, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_policy(policy)
{
}

LocalFileGuard::~LocalFileGuard() = default;

void LocalFileGuard::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const QUrl url = info.requestUrl();
    // The main frame goes where the user sends it; where a page sends it is
    // decided by the navigation policy before any request is made.
    if (!url.isLocalFile() ||
        info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) {
        return;
    }
    if (!m_policy.isAllowedLocalFile(url)) {
        info.block(true);
    }
}

} // namespace orvo::app
