#include "app/cvieworvodoc.h"

#include "app/apptexts.h"
#include "app/commandstate.h"
#include "app/conversionprogress.h"
#include "app/documentview.h"
#include "app/location.h"
#include "app/profile.h"
#include "app/uitext.h"
#include "convert/converter.h"
#include "platform/messages.h"

#include <QFileDialog>
#include <QFileInfo>

#include <optional>

namespace orvo::app {

DocumentView::~DocumentView() = default;

CViewOrvoDoc::CViewOrvoDoc(platform::Messages& messages, const std::string& settingsPath,
                           const std::optional<std::string>& programDataDir, QObject* parent)
    : QObject(parent), m_messages(messages), m_windowMessages(messages),
      m_presentation(m_windowMessages), m_releaseMode(profile::readReleaseMode()),
      m_chooseFile(chooseFileWithDialog)
{
    if (programDataDir) {
        m_presentation.setProgramDataFolder(*programDataDir);
    }
    // Failures have been shown; the program runs on with what could be read.
    m_presentation.loadSettingsAndTables(settingsPath);
}

CViewOrvoDoc::~CViewOrvoDoc() = default;

void CViewOrvoDoc::setMarkupPath(const std::string& path)
{
    if (m_converting) {
        return;
    }
    m_presentation.setMarkupPath(path);
    m_converted = 0;
    emit commandStatesChanged();
}

void CViewOrvoDoc::addView(DocumentView* view)
{
    m_views.push_back(view);
}

void CViewOrvoDoc::removeView(DocumentView* view)
{
    std::erase(m_views, view);
}

DocumentView* CViewOrvoDoc::firstView() const
{
    return m_views.empty() ? nullptr : m_views.front();
}

void CViewOrvoDoc::setPathName(const QString& path)
{
    m_pathName = path;
    emit titleChanged();
}

QString CViewOrvoDoc::title() const
{
    if (m_pathName.isEmpty()) {
        return uiText(texts::kUntitled);
    }
    return QFileInfo(m_pathName).fileName();
}

void CViewOrvoDoc::setFileChooser(FileChooser chooser)
{
    m_chooseFile = std::move(chooser);
}

void CViewOrvoDoc::OnFileOpen()
{
    if (m_converting) {
        return;
    }
    const QString chosen = m_chooseFile();
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = encodeLocation(chosen);
    const std::string extension = extensionOf(path);
    m_converted = 0;
    emit commandStatesChanged();

    if (extension == texts::kHtmlExtension) {
        if (DocumentView* view = firstView()) {
            view->Navigate(path);
        }
    } else if (extension == texts::kMarkupExtension) {
        setMarkupPath(path);
        offerConvertAndRun();
    }
}

// The run question comes whatever the conversion's outcome.
void CViewOrvoDoc::offerConvertAndRun()
{
    if (m_converting) {
        return;
    }
    if (!m_messages.ask(texts::kAskConvert, texts::kAskConvertCaption)) {
        return;
    }
    OnExecConvert();
    if (m_messages.ask(texts::kAskRun, texts::kAskRunCaption)) {
        OnExecRun();
    }
}

void CViewOrvoDoc::OnExecConvert()
{
    if (m_converting) {
        return;
    }
    m_converting = true;
    emit commandStatesChanged();
    // Every conversion works on a fresh read of the file.
    const bool converted = convertWithProgress(m_presentation, m_windowMessages);
    m_converting = false;
    if (converted) {
        m_converted = 1;
    }
    emit commandStatesChanged();
}

void CViewOrvoDoc::OnExecRun()
{
    // An unsafe workingDir has no output folder: conversion refuses it, and
    // there is nothing to run.
    const std::optional<std::string> folder = convert::outputFolderOf(m_presentation);
    DocumentView* view = firstView();
    if (folder && view != nullptr) {
        view->Navigate(*folder +
                       (m_releaseMode == 1 ? texts::kReleaseStartPage : texts::kDebugStartPage));
    }
}

void CViewOrvoDoc::OnExecRelease()
{
    setReleaseMode(1);
}

void CViewOrvoDoc::OnExecDebug()
{
    setReleaseMode(0);
}

void CViewOrvoDoc::setReleaseMode(int mode)
{
    m_releaseMode = mode;
    profile::writeReleaseMode(mode);
    emit commandStatesChanged();
}

bool CViewOrvoDoc::hasMarkupPath() const
{
    return !m_presentation.getMarkupPath().empty();
}

void CViewOrvoDoc::OnUpdateExecConvert(CommandState& state) const
{
    state.enabled = hasMarkupPath() && m_converted == 0 && !m_converting;
}

void CViewOrvoDoc::OnUpdateExecRun(CommandState& state) const
{
    state.enabled = hasMarkupPath() && m_converted == 1;
}

void CViewOrvoDoc::OnUpdateExecRelease(CommandState& state) const
{
    state.checked = m_releaseMode == 1;
}

void CViewOrvoDoc::OnUpdateExecDebug(CommandState& state) const
{
    state.checked = m_releaseMode == 0;
}

void CViewOrvoDoc::OnUpdateIndicatorMode(CommandState& state) const
{
    state.enabled = true;
    state.text = QString::fromUtf8(m_releaseMode == 1 ? texts::kModeRelease : texts::kModeDebug);
}

QString chooseFileWithDialog()
{
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Like the original dialog, a name that does not exist may be typed.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8(texts::kOpenFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(texts::kDefaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace orvo::app
