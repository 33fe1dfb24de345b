#pragma once

// The HTML view: a browser that fills the main window and in which the
// converted pages play. A markup file that it is asked to open goes to the
// document for conversion and running; anything else is loaded. Every page
// gets the agent runtime, and every finished load shows its address in the
// frame's caption and URL bar.

#include "app/documentview.h"

#include <QWebEngineView>

#include <string>

namespace orvo::app {

class CMainFrame;
class CViewOrvoApp;
class CViewOrvoDoc;
class HearingBridge;
class OrvoWebPage;
class VoiceBridge;

class CViewOrvoView final : public QWebEngineView, public DocumentView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CViewOrvoView)

public:
    // The application, document and frame must outlive the view.
    CViewOrvoView(const CViewOrvoApp& app, CViewOrvoDoc& doc, CMainFrame& frame,
                  QWidget* parent = nullptr);
    ~CViewOrvoView() override;

    // Run when the document is attached: opens the path last handed to the
    // application, else shows the welcome page.
    void OnInitialUpdate();
    // A location whose extension is exactly "orv" is a markup file: it
    // becomes the document's markup path and the user is asked to convert
    // and run it. Anything else is loaded.
    void OpenLocation(const std::string& location);
    void Navigate(const std::string& location) override;

    OrvoWebPage* orvoPage() const;
    // The character's voice, published to every page the view shows.
    VoiceBridge& voice() const { return *m_voice; }
    // The character's ears, published the same way.
    HearingBridge& hearing() const { return *m_hearing; }

private:
    void OnDocumentComplete(const QUrl& url);
    void allowFoldersAround(const QUrl& url);

    const CViewOrvoApp& m_app;
    CViewOrvoDoc& m_doc;
    CMainFrame& m_frame;
    VoiceBridge* m_voice = nullptr;
    HearingBridge* m_hearing = nullptr;
};

} // namespace orvo::app
