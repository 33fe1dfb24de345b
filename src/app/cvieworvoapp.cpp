#include "app/cvieworvoapp.h"

#include "app/apptexts.h"
#include "app/caboutdlg.h"
#include "app/cmainframe.h"
#include "app/cvieworvodoc.h"
#include "app/cvieworvoview.h"
#include "app/location.h"
#include "app/orvowebpage.h"
#include "platform/encoding.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

#include <QFile>
#include <QFileInfo>

namespace orvo::app {

CViewOrvoApp::CViewOrvoApp(platform::Messages& messages, std::string settingsPath,
                           std::optional<std::string> programDataDir, QObject* parent)
    : QObject(parent), m_messages(messages), m_settingsPath(std::move(settingsPath)),
      m_programDataDir(std::move(programDataDir))
{
}

// The frame (with the view) goes before the document that it shows.
CViewOrvoApp::~CViewOrvoApp()
{
    m_frame.reset();
    m_doc.reset();
}

bool CViewOrvoApp::InitInstance(const QStringList& arguments)
{
    m_recentFiles.load();
    createDocumentFrameAndView();

    const QString file = parseCommandLine(arguments).file;
    if (!file.isEmpty()) {
        if (!OpenDocumentFile(file)) {
            return false;
        }
    } else {
        initialUpdateFrame();
    }
    m_frame->show();
    return true;
}

void CViewOrvoApp::createDocumentFrameAndView()
{
    m_doc = std::make_unique<CViewOrvoDoc>(m_messages, m_settingsPath, m_programDataDir);
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    m_view = new CViewOrvoView(*this, *m_doc, *m_frame, m_frame.get());
    m_frame->setView(m_view);
    m_frame->setRecentFiles(m_recentFiles.files());

    connect(m_frame.get(), &CMainFrame::aboutRequested, this, &CViewOrvoApp::OnAppAbout);
    connect(m_frame.get(), &CMainFrame::recentFileChosen, this, &CViewOrvoApp::OnOpenRecentFile);
    connect(m_frame.get(), &CMainFrame::filesDropped, this, &CViewOrvoApp::OnDropFiles);
    connect(m_view->orvoPage(), &OrvoWebPage::markupLinkClicked, this,
            &CViewOrvoApp::OpenDocumentFile);
}

bool CViewOrvoApp::OpenDocumentFile(const QString& path)
{
    m_requestedPath = encodeLocation(path);

    // The document's file must be there and readable, as the framework's
    // open-document path demands; a folder is no document.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        m_messages.error(
            platform::fillLocalTemplate(platform::texts::kCannotOpenFile, m_requestedPath),
            texts::kCannotOpenDocumentCaption);
        return false;
    }
    file.close();

    const QString fullPath = info.absoluteFilePath();
    m_doc->setPathName(fullPath);
    m_recentFiles.add(fullPath);
    m_frame->setRecentFiles(m_recentFiles.files());
    initialUpdateFrame();
    return true;
}

// The view's initial update, then the frame's activation (which hides the
// URL bar), as every attachment of the document to its window runs them.
void CViewOrvoApp::initialUpdateFrame()
{
    m_view->OnInitialUpdate();
    m_frame->ActivateFrame();
}

void CViewOrvoApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.files().size()) {
        return;
    }
    // A file that cannot be opened any more leaves the list.
    if (!OpenDocumentFile(m_recentFiles.files().at(index))) {
        m_recentFiles.remove(index);
        m_frame->setRecentFiles(m_recentFiles.files());
    }
}

void CViewOrvoApp::OnDropFiles(const QStringList& paths)
{
    m_frame->activateWindow();
    for (const QString& path : paths) {
        OpenDocumentFile(path);
    }
}

void CViewOrvoApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

} // namespace orvo::app
