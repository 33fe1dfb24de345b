#include "app/cmainframe.h"

#include "app/apptexts.h"
#include "app/commandstate.h"
#include "app/cvieworvodoc.h"
#include "app/cvieworvoview.h"
#include "app/hearingbridge.h"
#include "app/location.h"
#include "app/profile.h"
#include "app/toolbaricons.h"
#include "app/uitext.h"
#include "app/voicebridge.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace orvo::app {

namespace {

// The window's size at creation, in pixels.
constexpr int kInitialWidth = 775;
constexpr int kInitialHeight = 575;
// The URL bar's edit box is 283 dialog units wide; a dialog unit is a quarter
// of the font's average character width.
constexpr int kAddressWidthDialogUnits = 283;
constexpr int kDialogUnitsPerCharacter = 4;

// The window's texts, in the user's language.
QString utf8(const char* text)
{
    return uiText(text);
}

std::size_t indexOf(CMainFrame::Command command)
{
    return static_cast<std::size_t>(command);
}

// A prompt is the status bar text, a line feed, then the tool tip.
void setPrompt(QAction* action, const char* prompt)
{
    const QString text = utf8(prompt);
    const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'));
    action->setStatusTip(lineFeed < 0 ? text : text.left(lineFeed));
    if (lineFeed >= 0) {
        action->setToolTip(text.mid(lineFeed + 1));
    }
}

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.append(url.toLocalFile());
        }
    }
    return files;
}

} // namespace

CMainFrame::CMainFrame(CViewOrvoDoc& doc, QWidget* parent) : QMainWindow(parent), m_doc(doc)
{
    move(0, 0);
    resize(kInitialWidth, kInitialHeight);
    setWindowIcon(applicationIcon());
    // The bars have no context menu to hide them: only the View menu does.
    setContextMenuPolicy(Qt::NoContextMenu);

    createActions();
    createFileMenu();
    createViewMenu();
    createExecMenu();
    createHelpMenu();
    createToolBar();
    createUrlBar();
    createStatusBar();

    setAcceptDrops(true);
    // Dropped files and the accelerators are seen before any child (the
    // browser above all) handles them, as a frame's message filter would.
    qApp->installEventFilter(this);

    connect(&m_doc, &CViewOrvoDoc::commandStatesChanged, this, &CMainFrame::updateCommandStates);
    connect(&m_doc, &CViewOrvoDoc::titleChanged, this, &CMainFrame::updateTitle);
    updateTitle();
    updateCommandStates();
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
}

void CMainFrame::setView(CViewOrvoView* view)
{
    m_view = view;
    setCentralWidget(view);
    if (view != nullptr) {
        connect(&view->hearing(), &HearingBridge::hasCommandsChanged, this,
                &CMainFrame::updateCommandStates);
    }
    updateCommandStates();
}

QAction* CMainFrame::addCommand(Command command, const char* text, const char* prompt)
{
    auto* action = new QAction(utf8(text), this);
    if (prompt != nullptr) {
        setPrompt(action, prompt);
    }
    m_actions[indexOf(command)] = action;
    return action;
}

void CMainFrame::createActions()
{
    addCommand(Command::FileOpen, texts::kFileOpen, texts::kPromptFileOpen);
    addCommand(Command::AppExit, texts::kAppExit, nullptr);
    addCommand(Command::ViewToolBar, texts::kViewToolBar, nullptr);
    addCommand(Command::ViewStatusBar, texts::kViewStatusBar, nullptr);
    addCommand(Command::ViewUrlBar, texts::kViewUrlBar, nullptr);
    addCommand(Command::ViewVoice, texts::kViewVoice, nullptr);
    addCommand(Command::ExecRelease, texts::kExecRelease, nullptr);
    addCommand(Command::ExecDebug, texts::kExecDebug, nullptr);
    addCommand(Command::ExecConvert, texts::kExecConvert, texts::kPromptExecConvert);
    addCommand(Command::ExecRun, texts::kExecRun, texts::kPromptExecRun);
    addCommand(Command::AppAbout, texts::kAppAbout, texts::kPromptAppAbout);

    action(Command::FileOpen)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    action(Command::ExecRelease)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action(Command::ExecDebug)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    action(Command::ExecConvert)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    action(Command::ExecRun)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    for (Command command : {Command::ViewToolBar, Command::ViewStatusBar, Command::ViewUrlBar,
                            Command::ViewVoice, Command::ExecRelease, Command::ExecDebug}) {
        action(command)->setCheckable(true);
    }

    action(Command::FileOpen)->setIcon(openIcon());
    action(Command::ExecConvert)->setIcon(convertIcon());
    action(Command::ExecRun)->setIcon(runIcon());
    action(Command::AppAbout)->setIcon(aboutIcon());

    // Held down, not clicked: the toolbar's button for it is wired in
    // createToolBar().
    m_listenAction = new QAction(this);
    m_listenAction->setObjectName(QStringLiteral("listen"));
    setPrompt(m_listenAction, texts::kPromptListen);
    m_listenAction->setText(m_listenAction->toolTip());
    m_listenAction->setIcon(listenIcon());
    const QKeySequence key =
        QKeySequence::fromString(profile::readListeningKey(), QKeySequence::PortableText);
    m_listeningKey = key.isEmpty() ? QKeyCombination(Qt::Key_ScrollLock) : key[0];

    connect(action(Command::FileOpen), &QAction::triggered, &m_doc, &CViewOrvoDoc::OnFileOpen);
    connect(action(Command::AppExit), &QAction::triggered, this, &QWidget::close);
    connect(action(Command::ViewToolBar), &QAction::triggered, this, [this] {
        m_toolBar->setVisible(m_toolBar->isHidden());
        updateCommandStates();
    });
    connect(action(Command::ViewStatusBar), &QAction::triggered, this, [this] {
        statusBar()->setVisible(statusBar()->isHidden());
        updateCommandStates();
    });
    connect(action(Command::ViewUrlBar), &QAction::triggered, this, &CMainFrame::OnViewUrlbar);
    connect(action(Command::ViewVoice), &QAction::triggered, this, [this](bool on) {
        if (m_view != nullptr) {
            m_view->voice().setEnabled(on);
            profile::writeVoiceEnabled(on);
        }
        updateCommandStates();
    });
    connect(action(Command::ExecRelease), &QAction::triggered, &m_doc,
            &CViewOrvoDoc::OnExecRelease);
    connect(action(Command::ExecDebug), &QAction::triggered, &m_doc, &CViewOrvoDoc::OnExecDebug);
    connect(action(Command::ExecConvert), &QAction::triggered, &m_doc,
            &CViewOrvoDoc::OnExecConvert);
    connect(action(Command::ExecRun), &QAction::triggered, &m_doc, &CViewOrvoDoc::OnExecRun);
    connect(action(Command::AppAbout), &QAction::triggered, this, &CMainFrame::aboutRequested);
}

void CMainFrame::createFileMenu()
{
    m_fileMenu = menuBar()->addMenu(utf8(texts::kFileMenu));
    m_fileMenu->addAction(action(Command::FileOpen));
    m_recentFilesEnd = action(Command::AppExit);
    m_fileMenu->addAction(m_recentFilesEnd);
    setRecentFiles({});
    connect(m_fileMenu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createViewMenu()
{
    QMenu* menu = menuBar()->addMenu(utf8(texts::kViewMenu));
    menu->addAction(action(Command::ViewToolBar));
    menu->addAction(action(Command::ViewStatusBar));
    menu->addAction(action(Command::ViewUrlBar));
    menu->addAction(action(Command::ViewVoice));
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createExecMenu()
{
    QMenu* menu = menuBar()->addMenu(utf8(texts::kExecMenu));
    menu->addAction(action(Command::ExecRelease));
    menu->addAction(action(Command::ExecDebug));
    menu->addSeparator();
    menu->addAction(action(Command::ExecConvert));
    menu->addAction(action(Command::ExecRun));
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::createHelpMenu()
{
    QMenu* menu = menuBar()->addMenu(utf8(texts::kHelpMenu));
    menu->addAction(action(Command::AppAbout));
}

void CMainFrame::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setFloatable(false);
    m_toolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->addAction(action(Command::FileOpen));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(Command::ExecConvert));
    m_toolBar->addAction(action(Command::ExecRun));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(Command::AppAbout));
    if (profile::readListeningButtonShown()) {
        m_toolBar->addAction(m_listenAction);
        auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(m_listenAction));
        if (button != nullptr) {
            connect(button, &QToolButton::pressed, this, [this] {
                if (m_view != nullptr) {
                    m_view->hearing().press();
                }
            });
            connect(button, &QToolButton::released, this, [this] {
                if (m_view != nullptr) {
                    m_view->hearing().release();
                }
            });
        }
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::createUrlBar()
{
    m_urlBar = new QToolBar(this);
    m_urlBar->setObjectName(QStringLiteral("urlBar"));
    m_urlBar->setFloatable(false);
    m_urlBar->setAllowedAreas(Qt::TopToolBarArea);

    auto* label = new QLabel(utf8(texts::kUrlLabel), m_urlBar);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setContentsMargins(6, 0, 4, 0);
    m_address = new QLineEdit(m_urlBar);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setFixedWidth(m_address->fontMetrics().averageCharWidth() *
                             kAddressWidthDialogUnits / kDialogUnitsPerCharacter);
    m_urlBar->addWidget(label);
    m_urlBar->addWidget(m_address);
    // The same row as the toolbar, beside it.
    addToolBar(Qt::TopToolBarArea, m_urlBar);

    connect(m_address, &QLineEdit::returnPressed, this, &CMainFrame::OnUrlBarEnter);
}

void CMainFrame::createStatusBar()
{
    m_messagePane = new QLabel(utf8(texts::kIdlePrompt), this);
    statusBar()->addWidget(m_messagePane, 1);

    const QString sizer = utf8(texts::kModePaneSizer);
    m_modePane = new QLabel(sizer, this);
    m_modePane->setObjectName(QStringLiteral("modePane"));
    m_modePane->setAlignment(Qt::AlignCenter);
    m_modePane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_modePane->setMinimumWidth(m_modePane->fontMetrics().horizontalAdvance(sizer) +
                                2 * m_modePane->fontMetrics().averageCharWidth());
    statusBar()->addPermanentWidget(m_modePane);
}

void CMainFrame::setRecentFiles(const QStringList& files)
{
    for (QAction* old : m_recentFileActions) {
        m_fileMenu->removeAction(old);
        old->deleteLater();
    }
    m_recentFileActions.clear();

    if (files.isEmpty()) {
        auto* placeholder = new QAction(utf8(texts::kRecentFilePlaceholder), this);
        placeholder->setEnabled(false);
        m_recentFileActions.append(placeholder);
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        QString shown = files.at(i);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item =
            new QAction(QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + shown, this);
        const int index = static_cast<int>(i);
        connect(item, &QAction::triggered, this, [this, index] { emit recentFileChosen(index); });
        m_recentFileActions.append(item);
    }
    m_fileMenu->insertActions(m_recentFilesEnd, m_recentFileActions);
}

QAction* CMainFrame::action(Command command) const
{
    return m_actions[indexOf(command)];
}

void CMainFrame::ActivateFrame()
{
    ShowUrlBar(false);
    show();
    raise();
    activateWindow();
}

void CMainFrame::ShowUrlBar(bool show)
{
    m_urlBar->setVisible(show);
    updateCommandStates();
}

bool CMainFrame::isUrlBarShown() const
{
    return !m_urlBar->isHidden();
}

void CMainFrame::SetAddress(const QString& text)
{
    m_address->setText(text);
    setWindowTitle(text);
}

void CMainFrame::showStatusText(const QString& text)
{
    if (text.isEmpty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(text);
    }
}

void CMainFrame::updateTitle()
{
    setWindowTitle(m_doc.title() + QStringLiteral(" - ") + utf8(texts::kAppTitle));
}

void CMainFrame::updateCommandStates()
{
    CommandState convert;
    m_doc.OnUpdateExecConvert(convert);
    action(Command::ExecConvert)->setEnabled(convert.enabled);

    CommandState run;
    m_doc.OnUpdateExecRun(run);
    action(Command::ExecRun)->setEnabled(run.enabled);

    CommandState release;
    m_doc.OnUpdateExecRelease(release);
    action(Command::ExecRelease)->setChecked(release.checked);

    CommandState debug;
    m_doc.OnUpdateExecDebug(debug);
    action(Command::ExecDebug)->setChecked(debug.checked);

    CommandState mode;
    m_doc.OnUpdateIndicatorMode(mode);
    m_modePane->setEnabled(mode.enabled);
    if (!mode.text.isEmpty()) {
        m_modePane->setText(mode.text);
    }

    action(Command::ViewUrlBar)->setChecked(isUrlBarShown());
    action(Command::ViewToolBar)->setChecked(!m_toolBar->isHidden());
    action(Command::ViewStatusBar)->setChecked(!statusBar()->isHidden());
    action(Command::ViewVoice)->setEnabled(m_view != nullptr);
    action(Command::ViewVoice)->setChecked(m_view != nullptr && m_view->voice().enabled());
    m_listenAction->setEnabled(m_view != nullptr && m_view->hearing().hasCommands());
}

QString CMainFrame::messagePaneText() const
{
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? m_messagePane->text() : message;
}

QString CMainFrame::modePaneText() const
{
    return m_modePane->text();
}

void CMainFrame::OnViewUrlbar()
{
    ShowUrlBar(!isUrlBarShown());
}

void CMainFrame::OnUrlBarEnter()
{
    if (m_view != nullptr) {
        m_view->OpenLocation(encodeLocation(m_address->text()));
    }
}

bool CMainFrame::belongsToWindow(QObject* object) const
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && widget->window() == this;
}

// The five accelerators come before any child's own use of the keys, so
// that a command's key does the same wherever the focus is (Ctrl+C converts
// even while the URL bar or the page has the focus).
bool CMainFrame::isAccelerator(const QEvent* event) const
{
    const auto* key = static_cast<const QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (Command command : {Command::FileOpen, Command::ExecRelease, Command::ExecDebug,
                            Command::ExecConvert, Command::ExecRun}) {
        QAction* candidate = action(command);
        if (candidate->isEnabled() && candidate->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

// The listening key works wherever the focus is in the window, and only
// while the page has voice commands: otherwise the key is the focused
// widget's as usual. The key's own repeats while it is held are swallowed.
bool CMainFrame::handleListeningKey(const QEvent* event)
{
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() != m_listeningKey.key() || m_view == nullptr) {
        return false;
    }
    HearingBridge& hearing = m_view->hearing();
    if (event->type() == QEvent::KeyPress) {
        if (key->isAutoRepeat() && m_listeningKeyDown) {
            return true;
        }
        if (key->modifiers() != m_listeningKey.keyboardModifiers() || !hearing.hasCommands()) {
            return false;
        }
        m_listeningKeyDown = true;
        hearing.press();
        return true;
    }
    if (!m_listeningKeyDown) {
        return false;
    }
    if (!key->isAutoRepeat()) {
        m_listeningKeyDown = false;
        hearing.release();
    }
    return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (belongsToWindow(watched) && handleListeningKey(event)) {
            return true;
        }
        break;
    case QEvent::ShortcutOverride:
        if (belongsToWindow(watched) && isAccelerator(event)) {
            // Left unaccepted, the key goes to the window's shortcuts.
            event->ignore();
            return true;
        }
        break;
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (belongsToWindow(watched)) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!localFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        }
        break;
    case QEvent::Drop:
        if (belongsToWindow(watched)) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = localFiles(drop->mimeData());
            if (!files.isEmpty()) {
                drop->acceptProposedAction();
                // Opened after the drop has ended: opening may ask questions,
                // and a modal box must not hold the drag source waiting.
                QTimer::singleShot(0, this, [this, files] { emit filesDropped(files); });
                return true;
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orvo::app
