#pragma once

// Confines what a page loads from the local disk to the folders that its
// NavigationPolicy allows: the presentation's own folder tree (its pages,
// frames and images, which lie one level above the pages), the folder of the
// page that the user opened, and the welcome page. Local files may see one
// another (converted pages rely on frames and images beside them), so without
// this a stranger's page could fetch, embed or frame any readable file
// (file:///etc/hostname, the user's documents) and read it from its script.

#include <QWebEngineUrlRequestInterceptor>

namespace orvo::app {

class NavigationPolicy;

class LocalFileGuard final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LocalFileGuard)

public:
    // The policy must outlive the guard.
    LocalFileGuard(const NavigationPolicy& policy, QObject* parent);
    ~LocalFileGuard() override;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    const NavigationPolicy& m_policy;
};

} // namespace orvo::app
