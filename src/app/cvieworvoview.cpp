#include "app/cvieworvoview.h"

#include "app/agentruntime.h"
#include "app/apptexts.h"
#include "app/cmainframe.h"
#include "app/cvieworvoapp.h"
#include "app/cvieworvodoc.h"
#include "app/hearingbridge.h"
#include "app/location.h"
#include "app/microphone.h"
#include "app/orvowebpage.h"
#include "app/profile.h"
#include "app/voicebridge.h"
#include "config/settings.h"

#include <QFileInfo>
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
    // Local pages see one another: the debug frame's frames, the pages'
    // images one folder up. The page's LocalFileGuard confines that to the
    // presentation's folders (turned off, frames would not load at all).
    pageSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    installAgentRuntime(page()->scripts());

    // The runtime in the page speaks through the native voice.
    m_voice = new VoiceBridge(true, this);
    m_voice->setEnabled(profile::readVoiceEnabled());
    speech::Language language = speech::Language::Automatic;
    if (speech::languageFromName(profile::readVoiceLanguage().toStdString(), language)) {
        m_voice->setDefaultLanguage(language);
    }
    // ... and hears its voice commands.
    m_hearing = new HearingBridge(createMicrophone(), this);
    auto* channel = new QWebChannel(page());
    channel->registerObject(QStringLiteral("orvoVoice"), m_voice);
    channel->registerObject(QStringLiteral("orvoHearing"), m_hearing);
    page()->setWebChannel(channel);
    // Leaving a page cuts its voice at once, and ends its commands.
    connect(page(), &QWebEnginePage::loadStarted, m_voice, &VoiceBridge::stopAll);
    connect(page(), &QWebEnginePage::loadStarted, m_hearing, &HearingBridge::clear);

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
        allowFoldersAround(url);
        load(url);
    }
}

// The pages may go on to where this one lies and to the rest of the
// presentation; the user may go anywhere. A page of an output folder (named
// workingDir) takes its images from the presentation's folder above it.
void CViewOrvoView::allowFoldersAround(const QUrl& url)
{
    const config::Settings& settings = m_doc.presentation().settings();
    QString folder = NavigationPolicy::folderOf(url);
    const QString workingDir = decodeLocation(settings.workingDir);
    if (!folder.isEmpty() && !workingDir.isEmpty() &&
        (folder + QLatin1Char('/')).endsWith(QLatin1Char('/') + workingDir)) {
        folder = QFileInfo(folder).path();
    }
    const std::string markupPath = m_doc.presentation().getMarkupPath();
    NavigationPolicy& policy = orvoPage()->policy();
    policy.setWelcomePage(decodeLocation(settings.welcomePageFile));
    policy.setAllowedFolders(
        {folder,
         markupPath.empty() ? QString() : NavigationPolicy::folderOf(urlForLocation(markupPath))});
}

// A finished load, also one that failed: the address shows what the browser
// tried to show, as a local path for files.
void CViewOrvoView::OnDocumentComplete(const QUrl& url)
{
    m_frame.SetAddress(url.toDisplayString(QUrl::PreferLocalFile));
}

} // namespace orvo::app
