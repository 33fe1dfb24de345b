#pragma once

// The view's page: its navigation policy. A clicked link to a local markup
// file is not loaded as text; it is handed to the application like a file that
// the desktop opens with ViewOrvo through its registration of ".orv", so both
// roads ask the same questions. Everything else that a page asks for by itself
// goes through the NavigationPolicy: pages come from strangers.

#include "app/navigationpolicy.h"

#include <QWebEnginePage>

namespace orvo::app {

class OrvoWebPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrvoWebPage)

public:
    explicit OrvoWebPage(QObject* parent = nullptr);
    ~OrvoWebPage() override;

    NavigationPolicy& policy() { return m_policy; }

signals:
    // A link to this local markup file was clicked; emitted after the click
    // has been handled, so that the receiver may ask questions.
    void markupLinkClicked(const QString& path);
    // A page tried to go somewhere it may not; it stays where it was.
    void navigationRefused(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    NavigationPolicy m_policy;
};

} // namespace orvo::app
