#pragma once

// The view's page: its navigation policy. A clicked link to a local markup
// file is not loaded as text; it is handed to the application like a file that
// the desktop opens with ViewOrvo, so that a presentation opened from a page
// is asked about and converted like any other.

#include <QWebEnginePage>

namespace orvo::app {

class OrvoWebPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OrvoWebPage)

public:
    explicit OrvoWebPage(QObject* parent = nullptr);
    ~OrvoWebPage() override;

signals:
    // A link to this local markup file was clicked; emitted after the click
    // has been handled, so that the receiver may ask questions.
    void markupLinkClicked(const QString& path);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

} // namespace orvo::app
