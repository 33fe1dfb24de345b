#include "app/cvieworvoview.h"

#include "app/agentruntime.h"
#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "app/cvieworvoapp.h"
#include "app/cvieworvodoc.h"
#include "app/location.h"
#include "app/orvowebpage.h"
#include "app/profile.h"
#include "app/voicebridge.h"
#include "config/settings.h"

#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace orvo::app {

CViewOrvoView::CViewOrvoView(const CViewOrvoApp& app, CViewOrvoDoc& doc, CMainFrame& frame,
                             QWidget* parent)
    : QWebEngineView(parent), m_app(app), m_doc(doc), m_frame(frame)
{
    setPage(new OrvoWebPage(this));
    QWebEngineSettings* pageSettings = settings();
    // The character speaks and moves without the user clicking first.
    pageSettings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    pageSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    installAgentRuntime(page()->scripts());

    // The runtime in the page speaks through the native voice.
    m_voice = new VoiceBridge(true, this);
    m_voice->setEnabled(profile::readVoiceEnabled());
    speech::Language language = speech::Language::Automatic;
    if (speech::languageFromName(profile::readVoiceLanguage().toStdString(), language)) {
        m_voice->setDefaultLanguage(language);
    }
    auto* channel = new QWebChannel(page());
    channel->registerObject(QStringLiteral("orvoVoice"), m_voice);
    page()->setWebChannel(channel);
    // Leaving a page cuts its voice at once.
    connect(page(), &QWebEnginePage::loadStarted, m_voice, &VoiceBridge::stopAll);

    connect(page(), &QWebEnginePage::loadFinished, this,
            [this](bool) { OnDocumentComplete(page()->url()); });
    connect(page(), &QWebEnginePage::linkHovered, &m_frame, &CMainFrame::showStatusText);
    m_doc.addView(this);
}

CViewOrvoView::~CViewOrvoView()
{
    m_doc.removeView(this);
}

OrvoWebPage* CViewOrvoView::orvoPage() const
{
    return static_cast<OrvoWebPage*>(page());
}

void CViewOrvoView::OnInitialUpdate()
{
    const std::string& requested = m_app.requestedPath();
    if (!requested.empty()) {
        OpenLocation(requested);
    } else {
        Navigate(m_doc.presentation().settings().welcomePageFile);
    }
}

void CViewOrvoView::OpenLocation(const std::string& location)
{
    if (extensionOf(location) == texts::kMarkupExtension) {
        m_doc.setMarkupPath(location);
        m_doc.offerConvertAndRun();
    } else {
        Navigate(location);
    }
}

void CViewOrvoView::Navigate(const std::string& location)
{
    const QUrl url = urlForLocation(location);
    if (url.isValid()) {
        load(url);
    }
}

// A finished load, also one that failed: the address shows what the browser
// tried to show, as a local path for files.
void CViewOrvoView::OnDocumentComplete(const QUrl& url)
{
    m_frame.SetAddress(url.toDisplayString(QUrl::PreferLocalFile));
}

} // namespace orvo::app
