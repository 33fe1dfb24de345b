// The window as a user meets it, offscreen with a real browser: start-up and
// the welcome page, the menus, toolbar and accelerators, the command states
// shown by the menus and the mode pane, the URL bar, the caption following
// each load, the command line, dropped files and the recent-file list, the
// mode surviving a restart, and large conversions on the worker thread.

#include "shelltestsupport.h"

#include "app/caboutdlg.h"
#include "app/cmainframe.h"
#include "app/conversionprogress.h"
#include "app/cvieworvoapp.h"
#include "app/cvieworvodoc.h"
#include "app/cvieworvoview.h"
#include "app/hearingbridge.h"
#include "app/orvowebpage.h"
#include "app/toolbaricons.h"
#include "app/voicebridge.h"
#include "platform/codepage.h"
#include "speech/synthesizer.h"
#include "speech/wavfile.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <set>

using orvo::app::CMainFrame;
using orvo::app::CViewOrvoApp;
using orvo::platform::RecordingMessages;
using namespace orvo::test;
using Command = CMainFrame::Command;

namespace {

// Page loads in the offscreen browser take a moment.
constexpr int kLoadTimeoutMs = 20000;

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// The menu's items, a separator as "-".
QStringList itemTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

QStringList toolTips(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    }
    return texts;
}

// Convert, Run, Release, Debug and URL bar as the menus show them.
QString menuStates(const CMainFrame& frame)
{
    auto onOff = [&](Command command) {
        return frame.action(command)->isEnabled() ? QStringLiteral("on") : QStringLiteral("off");
    };
    auto check = [&](Command command) {
        return frame.action(command)->isChecked() ? QStringLiteral("checked")
                                                  : QStringLiteral("clear");
    };
    return QStringLiteral("convert %1, run %2, release %3, debug %4, urlbar %5, pane %6")
        .arg(onOff(Command::ExecConvert), onOff(Command::ExecRun), check(Command::ExecRelease),
             check(Command::ExecDebug), check(Command::ViewUrlBar), frame.modePaneText());
}

// A presentation of `pages` pages, each with a speech; the pages in
// `missing` name a source page that does not exist.
QByteArray manyPages(int pages, const std::set<int>& missing)
{
    QByteArray markup = "<orvo>\n<agent character=\"Orvi\"/>\n<body>\n";
    for (int i = 1; i <= pages; ++i) {
        const QByteArray n = QByteArray::number(i);
        markup += "<page ref=\"" + (missing.count(i) ? "gone" + n : QByteArray("one")) +
                  ".html\" id=\"p" + n + "\" x=\"10\" y=\"20\">\n<speak>Page " + n +
                  ".</speak>\n</page>\n";
    }
    return markup + "</body>\n</orvo>\n";
}

// Records the messages; while an error is shown (on the window's thread,
// the conversion waiting for it), runs `whileShown`.
class WatchingMessages final : public orvo::platform::Messages {
public:
    void error(const std::string& text, const std::string& caption) override
    {
        record.error(text, caption);
        if (whileShown) {
            whileShown();
        }
    }
    bool ask(const std::string& text, const std::string& caption) override
    {
        return record.ask(text, caption);
    }

    RecordingMessages record;
    std::function<void()> whileShown;
};

} // namespace

class ShellTest final : public QObject {
    Q_OBJECT

public slots:
    // Stands in for the desktop's browser.
    void openInDesktopBrowser(const QUrl& url) { m_desktopOpened.append(url); }

private:
    QList<QUrl> m_desktopOpened;

    struct Shell {
        ShellFixture fixture;
        RecordingMessages messages;
        std::unique_ptr<CViewOrvoApp> app;

        bool start(const QStringList& arguments = {})
        {
            app = std::make_unique<CViewOrvoApp>(messages, fixture.settingsPath());
            return app->InitInstance(QStringList{QStringLiteral("vieworvo")} + arguments);
        }
        void restart()
        {
            app.reset();
            start();
        }
        CMainFrame& frame() const { return *app->mainFrame(); }
        orvo::app::CViewOrvoView& view() const { return *app->view(); }
        orvo::app::CViewOrvoDoc& doc() const { return *app->document(); }
        void answer(std::initializer_list<bool> answers)
        {
            for (bool yes : answers) {
                messages.queueAnswer(yes);
            }
        }
        void openWithDialog(const QString& file)
        {
            doc().setFileChooser([file] { return file; });
            doc().OnFileOpen();
        }
        void typeIntoUrlBar(const QString& text)
        {
            frame().ShowUrlBar(true);
            frame().addressEdit()->setText(text);
            QTest::keyClick(frame().addressEdit(), Qt::Key_Return);
        }
    };

    static QUrl fileUrl(const QString& path) { return QUrl::fromLocalFile(path); }

    // The value of a script run in the page shown now; invalid when it gave
    // no answer in time.
    static QVariant evaluate(orvo::app::CViewOrvoView& view, const QString& script)
    {
        QVariant result;
        bool done = false;
        view.page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        return QTest::qWaitFor([&] { return done; }, kLoadTimeoutMs) ? result : QVariant();
    }

    // The bundled tour, copied into the fixture, converted and playing in
    // release mode; returns its folder.
    static QString playTheTour(Shell& s)
    {
        s.doc().OnExecRelease();
        const QString tour = s.fixture.path(QStringLiteral("tour"));
        QDir().mkpath(tour);
        for (const QFileInfo& file :
             QDir(QStringLiteral(ORVO_EXAMPLES_DIR "tour")).entryInfoList(QDir::Files)) {
            if (!QFile::copy(file.filePath(), tour + QLatin1Char('/') + file.fileName())) {
                return {};
            }
        }
        s.answer({true, true});
        s.openWithDialog(tour + QStringLiteral("/tour.orv"));
        return tour;
    }

    // What the listening tip beside the character says now ("" for none).
    static QString tipText(orvo::app::CViewOrvoView& view)
    {
        return evaluate(view, QStringLiteral("document.getElementById('orvo-player-stage')"
                                             "?.shadowRoot.querySelector('.tip')?.textContent"
                                             " ?? ''"))
            .toString();
    }

    // What a conversion of a presentation whose pages 2 and 5 are missing
    // showed while page 2's error was up; Cancel pressed there on request.
    struct LargeConversion {
        bool errorSeen = false;
        // Turns of the window's event loop during the conversion.
        int ticks = 0;
        bool dialogShown = false;
        int dialogMaximum = -1;
        int dialogValue = -1;
        bool onWindowThread = false;
        int converted = -1;
        bool lastPageWritten = false;
        QStringList messages;
        // The read errors of pages 2 and 5, in this order.
        QStringList missingPages;
    };

    static LargeConversion convertManyPages(int pages, bool cancelAtFirstError)
    {
        ShellFixture fixture;
        const QString markup = fixture.writePresentation(QStringLiteral("big/big.orv"), "");
        fixture.write(markup, manyPages(pages, {2, 5}));
        WatchingMessages messages;
        orvo::app::CViewOrvoDoc doc(messages, fixture.settingsPath());
        doc.setMarkupPath(QFile::encodeName(markup).toStdString());

        // Counts the turns of the window's event loop.
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(0);

        LargeConversion seen;
        messages.whileShown = [&] {
            if (seen.errorSeen) {
                return;
            }
            seen.errorSeen = true;
            seen.onWindowThread =
                QThread::currentThread() == QCoreApplication::instance()->thread();
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(widget);
                if (dialog != nullptr && dialog->isVisible()) {
                    seen.dialogShown = true;
                    seen.dialogMaximum = dialog->maximum();
                    seen.dialogValue = dialog->value();
                    auto* cancel = dialog->findChild<QPushButton*>();
                    if (cancelAtFirstError && cancel != nullptr) {
                        cancel->click();
                    }
                }
            }
        };
        doc.OnExecConvert();
        seen.ticks = ticks;
        seen.converted = doc.converted();
        seen.lastPageWritten =
            QFileInfo::exists(fixture.path(QStringLiteral("big/pages/%1.html").arg(pages)));
        seen.messages = describe(messages.record);
        for (const char* name : {"gone2.html", "gone5.html"}) {
            seen.missingPages.append(errorLine("ﾌｧｲﾙ" + fixture.bytesPath(QStringLiteral("big/")) +
                                                   name + "がｵｰﾌﾟﾝできない",
                                               "読み出しｴﾗｰ"));
        }
        return seen;
    }

private slots:
    void initTestCase() { orvo::platform::setActiveCodePage(orvo::platform::CodePage::Utf8); }

    void startsOnTheWelcomePageWithTheUrlBarHidden()
    {
        Shell s;
        QVERIFY(s.start());
        QCOMPARE(s.frame().windowTitle(), utf8("無題 - ViewOrvo"));
        QVERIFY(s.frame().isVisible());
        QCOMPARE(s.frame().size(), QSize(775, 575));
        QVERIFY(!s.frame().isUrlBarShown());
        QCOMPARE(s.frame().messagePaneText(), utf8("ﾚﾃﾞｨ"));
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert off, run off, release clear, debug checked, "
                                "urlbar clear, pane Debug"));

        // The caption and the (hidden) URL bar follow the finished load.
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().addressEdit()->text(), s.fixture.welcomePage(),
                                  kLoadTimeoutMs);
        QCOMPARE(s.frame().windowTitle(), s.fixture.welcomePage());
        QCOMPARE(s.view().url(), fileUrl(s.fixture.welcomePage()));
        QVERIFY(!s.frame().isUrlBarShown());
        QCOMPARE(describe(s.messages), QStringList());
    }

    void menusCarryTheirTextsAndAccelerators()
    {
        Shell s;
        QVERIFY(s.start());
        const QList<QAction*> menus = s.frame().menuBar()->actions();
        QCOMPARE(itemTexts(menus), (QStringList{utf8("ﾌｧｲﾙ(&F)"), utf8("表示(&V)"),
                                                utf8("実行(&E)"), utf8("ﾍﾙﾌﾟ(&H)")}));
        QCOMPARE(itemTexts(menus[0]->menu()->actions()),
                 (QStringList{utf8("開く(&O)...\tCtrl+O"), utf8("最近使ったﾌｧｲﾙ"),
                              utf8("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")}));
        QVERIFY(!menus[0]->menu()->actions()[1]->isEnabled());
        QCOMPARE(itemTexts(menus[1]->menu()->actions()),
                 (QStringList{utf8("ﾂｰﾙ ﾊﾞｰ(&T)"), utf8("ｽﾃｰﾀｽ ﾊﾞｰ(&S)"), utf8("URLﾊﾞｰ(&U)"),
                              utf8("音声(&O)")}));
        QCOMPARE(itemTexts(menus[2]->menu()->actions()),
                 (QStringList{utf8("リリース(&R)...\tCtrl+R"), utf8("デバッグ(&D)...\tCtrl+D"),
                              QStringLiteral("-"), utf8("コンバート(&C)...\tCtrl+C"),
                              utf8("実行(&E)...\tCtrl+E")}));
        QCOMPARE(itemTexts(menus[3]->menu()->actions()),
                 QStringList{utf8("ViewOrvo のﾊﾞｰｼﾞｮﾝ情報(&A)...")});

        const std::pair<Command, const char*> accelerators[] = {
            {Command::FileOpen, "Ctrl+O"},  {Command::ExecRelease, "Ctrl+R"},
            {Command::ExecDebug, "Ctrl+D"}, {Command::ExecConvert, "Ctrl+C"},
            {Command::ExecRun, "Ctrl+E"},
        };
        for (const auto& [command, keys] : accelerators) {
            QCOMPARE(s.frame().action(command)->shortcut(),
                     QKeySequence(QString::fromLatin1(keys)));
        }

        QToolBar* toolBar = s.frame().findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(toolBar != nullptr);
        QCOMPARE(toolTips(toolBar->actions()),
                 (QStringList{utf8("開く"), QStringLiteral("-"), utf8("コンバート"), utf8("実行"),
                              QStringLiteral("-"), utf8("ﾊﾞｰｼﾞｮﾝ情報"), utf8("聞く")}));
        for (QAction* action : toolBar->actions()) {
            QVERIFY(action->isSeparator() || !action->icon().isNull());
        }
    }

    // With the English catalog (an English locale), the window speaks English.
    void menusAndStatusBarInEnglishWithTheEnglishCatalog()
    {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/vieworvo_en.qm")));
        QCoreApplication::installTranslator(&english);
        Shell s;
        const bool started = s.start();
        QCoreApplication::removeTranslator(&english);
        QVERIFY(started);
        const QList<QAction*> menus = s.frame().menuBar()->actions();
        QCOMPARE(itemTexts(menus),
                 (QStringList{QStringLiteral("&File"), QStringLiteral("&View"),
                              QStringLiteral("&Execute"), QStringLiteral("&Help")}));
        QCOMPARE(s.frame().action(Command::FileOpen)->text(), QStringLiteral("&Open...\tCtrl+O"));
        QCOMPARE(s.frame().action(Command::ExecConvert)->statusTip(),
                 QStringLiteral("Convert the ORVO file into HTML files"));
        QCOMPARE(s.frame().action(Command::ExecConvert)->toolTip(), QStringLiteral("Convert"));
    }

    // Fly-by prompts go to the message pane, which returns to its idle text.
    void promptsShowInTheMessagePane()
    {
        Shell s;
        QVERIFY(s.start());
        const std::pair<Command, const char*> prompts[] = {
            {Command::FileOpen, "既存のﾌｧｲﾙを開く"},
            {Command::ExecConvert, "ORVOをHTMLファイルに変換する"},
            {Command::ExecRun, "プレゼンテーションを実行"},
            {Command::AppAbout, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"},
        };
        for (const auto& [command, prompt] : prompts) {
            s.frame().action(command)->showStatusText(&s.frame());
            QCOMPARE(s.frame().messagePaneText(), utf8(prompt));
            QStatusTipEvent leave{QString()};
            QApplication::sendEvent(&s.frame(), &leave);
            QCOMPARE(s.frame().messagePaneText(), utf8("ﾚﾃﾞｨ"));
        }
        // The mode commands have no prompt.
        s.frame().action(Command::ExecRelease)->showStatusText(&s.frame());
        QCOMPARE(s.frame().messagePaneText(), utf8("ﾚﾃﾞｨ"));
    }

    void menusFollowTheDocumentStates()
    {
        Shell s;
        QVERIFY(s.start());
        const QString markup = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.answer({false});
        s.openWithDialog(markup);
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert on, run off, release clear, debug checked, "
                                "urlbar clear, pane Debug"));
        s.frame().action(Command::ExecConvert)->trigger();
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert off, run on, release clear, debug checked, "
                                "urlbar clear, pane Debug"));
        s.frame().action(Command::ExecRelease)->trigger();
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert off, run on, release checked, debug clear, "
                                "urlbar clear, pane Release"));
        s.frame().action(Command::ExecRun)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(s.view().url(),
                                  fileUrl(s.fixture.path(QStringLiteral("pages/1.html"))),
                                  kLoadTimeoutMs);
        s.frame().action(Command::ExecDebug)->trigger();
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert off, run on, release clear, debug checked, "
                                "urlbar clear, pane Debug"));
    }

    void urlBarCommandTogglesTheBarAndItsCheckMark()
    {
        Shell s;
        QVERIFY(s.start());
        QAction* urlBar = s.frame().action(Command::ViewUrlBar);
        urlBar->trigger();
        QVERIFY(s.frame().isUrlBarShown());
        QVERIFY(s.frame().urlBar()->isVisible());
        QVERIFY(urlBar->isChecked());
        urlBar->trigger();
        QVERIFY(!s.frame().isUrlBarShown());
        QVERIFY(!s.frame().urlBar()->isVisible());
        QVERIFY(!urlBar->isChecked());

        // Every activation of the window hides it again.
        urlBar->trigger();
        s.frame().ActivateFrame();
        QVERIFY(!s.frame().isUrlBarShown());
        QVERIFY(!urlBar->isChecked());
    }

    // A typed markup path asks to convert; No asks nothing more and leaves
    // the page, with the markup path already set.
    void typedMarkupPathAsksToConvert()
    {
        Shell s;
        QVERIFY(s.start());
        QTRY_COMPARE_WITH_TIMEOUT(s.view().url(), fileUrl(s.fixture.welcomePage()), kLoadTimeoutMs);
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("t/typed.orv"), kGoodMarkup);
        s.answer({false});
        s.typeIntoUrlBar(markup);
        QCOMPARE(describe(s.messages), QStringList{askLine(kAskConvert, "convert")});
        QCOMPARE(s.doc().presentation().getMarkupPath(),
                 s.fixture.bytesPath(QStringLiteral("t/typed.orv")));
        QCOMPARE(menuStates(s.frame()).left(21), QStringLiteral("convert on, run off, "));
        QTest::qWait(200);
        QCOMPARE(s.view().url(), fileUrl(s.fixture.welcomePage()));
    }

    void typedMarkupPathYesTwicePlaysTheDebugFrame()
    {
        Shell s;
        QVERIFY(s.start());
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("t/typed.orv"), kGoodMarkup);
        s.answer({true, true});
        s.typeIntoUrlBar(markup);
        // The run is asked when the conversion, on its worker thread, has
        // ended: on a busy machine that may come after typing returns.
        QTRY_COMPARE_WITH_TIMEOUT(
            describe(s.messages),
            (QStringList{askLine(kAskConvert, "convert"), askLine(kAskRun, "run")}),
            kLoadTimeoutMs);
        const QString frame = s.fixture.path(QStringLiteral("t/pages/DebugFrame.html"));
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), frame, kLoadTimeoutMs);
        QCOMPARE(s.frame().addressEdit()->text(), frame);
    }

    // Not exactly "orv": the browser gets it.
    void typedOtherLocationsGoToTheBrowser_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("upper case") << QStringLiteral("page.ORV");
        QTest::newRow("html behind") << QStringLiteral("page.orv.html");
    }

    void typedOtherLocationsGoToTheBrowser()
    {
        QFETCH(QString, name);
        Shell s;
        QVERIFY(s.start());
        const QString page = s.fixture.write(name, "<html><body>typed</body></html>\n");
        s.typeIntoUrlBar(page);
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), page, kLoadTimeoutMs);
        QCOMPARE(s.view().url(), fileUrl(page));
        QCOMPARE(describe(s.messages), QStringList());
        QCOMPARE(s.doc().presentation().getMarkupPath(), std::string());
    }

    // A clicked link to a markup file opens it as the desktop would: through
    // the application, which remembers it and asks to convert.
    void clickedMarkupLinkOpensThroughTheApplication()
    {
        Shell s;
        QVERIFY(s.start());
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("k/linked.orv"), kGoodMarkup);
        const QString page = s.fixture.write(
            QStringLiteral("k/links.html"),
            "<html><body><a id=\"tour\" href=\"linked.orv\">tour</a></body></html>\n");
        s.typeIntoUrlBar(page);
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), page, kLoadTimeoutMs);
        s.answer({false});
        evaluate(s.view(), QStringLiteral("document.getElementById('tour').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(describe(s.messages),
                                  QStringList{askLine(kAskConvert, "convert")}, kLoadTimeoutMs);
        QCOMPARE(s.app->requestedPath(), s.fixture.bytesPath(QStringLiteral("k/linked.orv")));
        QCOMPARE(s.doc().presentation().getMarkupPath(), s.app->requestedPath());
        QCOMPARE(s.app->recentFiles().files(), QStringList{markup});
        QCOMPARE(s.view().url(), fileUrl(page));
    }

    // Pages come from strangers. Their scripts cannot read local files, and
    // a page goes by itself only to pages of its own folder: the rest is
    // refused, and web links open in the desktop's browser.
    void pagesCannotReadLocalFilesOrLeaveTheirFolder()
    {
        Shell s;
        QVERIFY(s.start());
        const QString secret = s.fixture.write(QStringLiteral("secret/hostname"), "secret\n");
        const QString page = s.fixture.write(
            QStringLiteral("h/page.html"),
            "<html><body><a id=\"web\" href=\"https://example.org/x\">web</a></body></html>\n");
        const QString next =
            s.fixture.write(QStringLiteral("h/sub/next.html"), "<html><body>next</body></html>\n");
        s.typeIntoUrlBar(page);
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), page, kLoadTimeoutMs);

        const QString url = QLatin1Char('\'') + fileUrl(secret).toString() + QLatin1Char('\'');
        QCOMPARE(evaluate(s.view(), QStringLiteral("(function () { try { const x = new "
                                                   "XMLHttpRequest(); x.open('GET', %1, false); "
                                                   "x.send(); return 'read ' + x.responseText; "
                                                   "} catch (e) { return 'refused'; } })()")
                                        .arg(url))
                     .toString(),
                 QStringLiteral("refused"));
        evaluate(s.view(), QStringLiteral("fetch(%1).then(r => r.text()).then(t => { "
                                          "window.got = 'read ' + t; }, () => { window.got = "
                                          "'refused'; }); 0")
                               .arg(url));
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(s.view(), QStringLiteral("window.got")).toString(),
                                  QStringLiteral("refused"), kLoadTimeoutMs);

        QSignalSpy refused(s.view().orvoPage(), &orvo::app::OrvoWebPage::navigationRefused);
        evaluate(s.view(), QStringLiteral("location.href = %1; 0").arg(url));
        QTRY_COMPARE_WITH_TIMEOUT(refused.count(), 1, kLoadTimeoutMs);
        QCOMPARE(refused.at(0).at(0).toUrl(), fileUrl(secret));

        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openInDesktopBrowser");
        m_desktopOpened.clear();
        evaluate(s.view(), QStringLiteral("document.getElementById('web').click()"));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktopOpened,
                                  QList<QUrl>{QUrl(QStringLiteral("https://example.org/x"))},
                                  kLoadTimeoutMs);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(s.view().url(), fileUrl(page));

        // Within its folder a page goes where it likes.
        evaluate(s.view(), QStringLiteral("location.href = 'sub/next.html'; 0"));
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), next, kLoadTimeoutMs);
        QCOMPARE(refused.count(), 1);
    }

    // What the debug frame does still works: a link in one frame opens its
    // page in the frame named "up_frame", whose page shows an image of the
    // folder above, as converted pages do.
    void framesOfAPageStillOpenTheirPages()
    {
        Shell s;
        QVERIFY(s.start());
        s.fixture.write(QStringLiteral("f/dot.gif"),
                        QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!"
                                   "\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                                   "\x00\x02\x02"
                                   "D\x01\x00;",
                                   43));
        s.fixture.write(QStringLiteral("f/pages/index.html"),
                        "<html><body><a id=\"two\" href=\"two.html\" target=\"up_frame\">2</a>"
                        "<script>document.getElementById('two').click()</script></body></html>\n");
        s.fixture.write(QStringLiteral("f/pages/one.html"), "<html><body>one</body></html>\n");
        s.fixture.write(QStringLiteral("f/pages/two.html"),
                        "<html><body><img src=\"../dot.gif\" onload=\"parent.postMessage("
                        "'two shows an image ' + this.naturalWidth, '*')\"></body></html>\n");
        const QString frames = s.fixture.write(
            QStringLiteral("f/pages/frames.html"),
            "<html><head><script>window.got = []; addEventListener('message', e => "
            "window.got.push(e.data));</script></head><frameset cols=\"50,*\"><frame "
            "src=\"index.html\"><frame src=\"one.html\" name=\"up_frame\"></frameset></html>\n");
        s.typeIntoUrlBar(frames);
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(s.view(), QStringLiteral("window.got && window.got.join()")).toString(),
            QStringLiteral("two shows an image 1"), kLoadTimeoutMs);
    }

    // Ctrl+C converts even while the URL bar holds the focus.
    void acceleratorsWinOverTheFocusedWidget()
    {
        Shell s;
        QVERIFY(s.start());
        QVERIFY(QTest::qWaitForWindowActive(&s.frame()));
        const QString markup = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.answer({false});
        s.openWithDialog(markup);
        s.frame().ShowUrlBar(true);
        s.frame().addressEdit()->setFocus();
        QTRY_VERIFY(s.frame().addressEdit()->hasFocus());
        QTest::keyClick(s.frame().addressEdit(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(s.doc().converted(), 1);

        QTest::keyClick(&s.frame(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s.frame().modePaneText(), QStringLiteral("Release"));
        QTest::keyClick(&s.frame(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(s.frame().modePaneText(), QStringLiteral("Debug"));
    }

    void releaseModeSurvivesARestart()
    {
        Shell s;
        QVERIFY(s.start());
        QVERIFY(QTest::qWaitForWindowActive(&s.frame()));
        QTest::keyClick(&s.frame(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(s.frame().modePaneText(), QStringLiteral("Release"));

        s.restart();
        QCOMPARE(menuStates(s.frame()),
                 QStringLiteral("convert off, run off, release checked, debug clear, "
                                "urlbar clear, pane Release"));
        const QString markup = s.fixture.writePresentation(QStringLiteral("r/a.orv"), kGoodMarkup);
        s.answer({true, true});
        s.openWithDialog(markup);
        QTRY_COMPARE_WITH_TIMEOUT(s.view().url(),
                                  fileUrl(s.fixture.path(QStringLiteral("r/pages/1.html"))),
                                  kLoadTimeoutMs);
    }

    // A converted presentation plays in the window: the page gets the agent
    // runtime, which puts the character on its stage.
    void runPlaysThePresentationWithTheAgentRuntime()
    {
        Shell s;
        QVERIFY(s.start());
        s.doc().OnExecRelease();
        const QString markup = s.fixture.writePresentation(QStringLiteral("p/a.orv"), kGoodMarkup);
        s.answer({true, true});
        s.openWithDialog(markup);
        const QString firstPage = s.fixture.path(QStringLiteral("p/pages/1.html"));
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), firstPage, kLoadTimeoutMs);
        QCOMPARE(evaluate(s.view(), QStringLiteral("typeof window.OrvoPlayer")).toString(),
                 QStringLiteral("object"));
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(s.view(),
                     QStringLiteral("document.getElementById('orvo-player-stage') !== null"))
                .toBool(),
            kLoadTimeoutMs);
    }

    // The bundled tour plays in the window as before, pictures included:
    // they lie in the presentation's folder, one level above the pages.
    void theBundledTourShowsItsPictures()
    {
        Shell s;
        QVERIFY(s.start());
        const QString tour = playTheTour(s);
        QVERIFY(!tour.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(s.view().url(), fileUrl(tour + QStringLiteral("/pages/1.html")),
                                  kLoadTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(
            evaluate(s.view(), QStringLiteral("Array.from(document.images).filter(i => "
                                              "i.src.endsWith('orvi-logo.gif') && "
                                              "i.naturalWidth > 0).length"))
                .toInt(),
            1, kLoadTimeoutMs);
    }

    // In the window the character speaks with the native voice (here without
    // a sound device, on the clock alone): the balloon shows a word only once
    // its word event has come, and StopAll cuts the voice and ends the request.
    void speechUsesTheNativeVoiceWithTheBalloonInStep()
    {
        Shell s;
        QVERIFY(s.start());
        s.doc().OnExecRelease();
        orvo::app::VoiceBridge& voice = s.view().voice();
        QSignalSpy words(&voice, &orvo::app::VoiceBridge::word);
        QSignalSpy finished(&voice, &orvo::app::VoiceBridge::finished);
        qsizetype wordsAtFirstEnd = -1;
        connect(&voice, &orvo::app::VoiceBridge::finished, this, [&] {
            if (wordsAtFirstEnd < 0) {
                wordsAtFirstEnd = words.count();
            }
        });
        const QString markup = s.fixture.writePresentation(
            QStringLiteral("v/a.orv"),
            "<orvo>\n<agent character=\"Orvi\"/>\n<body>\n<page ref=\"one.html\" id=\"one\">\n"
            "<speak>One two three four five six seven eight nine ten.</speak>\n"
            "<speak>Eleven twelve thirteen fourteen fifteen sixteen.</speak>\n"
            "</page>\n</body>\n</orvo>\n");
        s.answer({true, true});
        s.openWithDialog(markup);
        QTRY_VERIFY_WITH_TIMEOUT(words.count() >= 2, kLoadTimeoutMs);
        const QString shownWords = QStringLiteral(
            "document.getElementById('orvo-player-stage').shadowRoot.querySelectorAll('.balloon .w.on').length");
        const QString allWords = QStringLiteral(
            "document.getElementById('orvo-player-stage').shadowRoot.querySelectorAll('.balloon .w').length");
        const int shownEarly = evaluate(s.view(), shownWords).toInt();
        QVERIFY2(shownEarly >= 1 && shownEarly <= words.count(),
                 qPrintable(QString::number(shownEarly)));
        QCOMPARE(evaluate(s.view(), allWords).toInt(), 10);
        QVERIFY(shownEarly < 10);

        // The first speech ends with its audio, every word shown.
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, kLoadTimeoutMs);
        QCOMPARE(finished.first().at(1).toBool(), true);
        QCOMPARE(wordsAtFirstEnd, 10);

        // The second is cut by StopAll: the voice stops and the request ends.
        QTRY_VERIFY_WITH_TIMEOUT(words.count() >= 12, kLoadTimeoutMs);
        QCOMPARE(voice.playingCount(), 1);
        evaluate(s.view(), QStringLiteral(
                               "OrvoPlayer.player.control.Characters.Character('Orvi').StopAll()"));
        QCOMPARE(voice.playingCount(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(
                s.view(),
                QStringLiteral(
                    "OrvoPlayer.player.control.Characters.Character('Orvi')._current === null"))
                .toBool(),
            kLoadTimeoutMs);
        QCOMPARE(finished.count(), 1);

        // Leaving the page while the character speaks cuts the voice.
        s.view().reload();
        QTRY_VERIFY_WITH_TIMEOUT(voice.playingCount() == 1, kLoadTimeoutMs);
        s.view().Navigate(s.fixture.bytesPath(QStringLiteral("welcome.html")));
        QTRY_COMPARE_WITH_TIMEOUT(voice.playingCount(), 0, 1000);

        // The View menu turns the voice off, and the profile keeps that.
        QVERIFY(s.frame().action(Command::ViewVoice)->isChecked());
        s.frame().action(Command::ViewVoice)->trigger();
        QVERIFY(!voice.enabled());
        s.restart();
        QVERIFY(!s.frame().action(Command::ViewVoice)->isChecked());
        QVERIFY(!s.view().voice().enabled());
    }

    // On the tour's listen page, holding the listening key while saying one
    // of its words (a WAV of it in place of the microphone) runs that word's
    // answer; the tip beside the character says what goes on. Without a
    // microphone, the toolbar's listen button only says so in the tip.
    void listeningKeyHearsTheTourCommandAndRunsItsAnswer()
    {
        ShellFixture words;
        orvo::speech::Synthesizer synthesizer;
        QVERIFY2(synthesizer.ok(), synthesizer.error().c_str());
        orvo::speech::Speech said;
        orvo::speech::SpeakOptions english;
        english.language = orvo::speech::Language::English;
        QVERIFY(synthesizer.synthesize("emotions", english, said));
        std::string error;
        QVERIFY2(orvo::speech::writeWavFile(words.bytesPath(QStringLiteral("emotions.wav")),
                                            said.samples, said.sampleRate, error),
                 error.c_str());
        qputenv("VIEWORVO_MICROPHONE_WAV",
                QFile::encodeName(words.path(QStringLiteral("emotions.wav"))));
        auto noStandIn = qScopeGuard([] { qunsetenv("VIEWORVO_MICROPHONE_WAV"); });

        Shell s;
        QVERIFY(s.start());
        const QString tour = playTheTour(s);
        QVERIFY(!tour.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(s.view().url(), fileUrl(tour + QStringLiteral("/pages/1.html")),
                                  kLoadTimeoutMs);
        const QString listenPage = tour + QStringLiteral("/pages/6.html");
        orvo::app::HearingBridge& hearing = s.view().hearing();
        QVERIFY(!s.frame().listenAction()->isEnabled());
        s.view().Navigate(QFile::encodeName(listenPage).toStdString());
        QTRY_VERIFY_WITH_TIMEOUT(hearing.hasCommands(), kLoadTimeoutMs);
        QVERIFY(s.frame().listenAction()->isEnabled());

        QTest::keyPress(&s.frame(), Qt::Key_ScrollLock);
        QVERIFY(hearing.isListening());
        QTRY_COMPARE_WITH_TIMEOUT(tipText(s.view()), utf8("聞いています…"), kLoadTimeoutMs);
        QTest::keyRelease(&s.frame(), Qt::Key_ScrollLock);
        QVERIFY(!hearing.isListening());
        QTRY_COMPARE_WITH_TIMEOUT(tipText(s.view()), utf8("「emotions」"), kLoadTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(s.view(), QStringLiteral("document.getElementById('orvo-player-stage')"
                                              ".shadowRoot.querySelector('.balloon')?.textContent"
                                              ".includes('Emotions come from')"))
                .toBool(),
            kLoadTimeoutMs);

        // No microphone at all.
        qputenv("VIEWORVO_MICROPHONE_WAV", QByteArray());
        s.restart();
        s.view().Navigate(QFile::encodeName(listenPage).toStdString());
        QTRY_VERIFY_WITH_TIMEOUT(s.view().hearing().hasCommands(), kLoadTimeoutMs);
        QToolBar* toolBar = s.frame().findChild<QToolBar*>(QStringLiteral("toolBar"));
        auto* button =
            qobject_cast<QToolButton*>(toolBar->widgetForAction(s.frame().listenAction()));
        QVERIFY(button != nullptr);
        QTest::mousePress(button, Qt::LeftButton);
        QVERIFY(!s.view().hearing().isListening());
        QTRY_COMPARE_WITH_TIMEOUT(tipText(s.view()), utf8("マイクがありません"), kLoadTimeoutMs);
        QTest::mouseRelease(button, Qt::LeftButton);
    }

    // In debug mode the pages play inside a frame, which has no web channel
    // of its own: it speaks through the main page's.
    void speechInTheDebugFrameUsesTheNativeVoice()
    {
        Shell s;
        QVERIFY(s.start());
        QSignalSpy words(&s.view().voice(), &orvo::app::VoiceBridge::word);
        const QString markup = s.fixture.writePresentation(QStringLiteral("d/a.orv"), kGoodMarkup);
        s.answer({true, true});
        s.openWithDialog(markup);
        QTRY_VERIFY_WITH_TIMEOUT(words.count() >= 1, kLoadTimeoutMs);
    }

    void commandLineFileIsOpenedAndRemembered()
    {
        Shell s;
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("cl/start.orv"), kGoodMarkup);
        s.answer({false});
        QVERIFY(s.start({markup}));
        QCOMPARE(describe(s.messages), QStringList{askLine(kAskConvert, "convert")});
        QCOMPARE(s.app->requestedPath(), s.fixture.bytesPath(QStringLiteral("cl/start.orv")));
        QCOMPARE(s.doc().presentation().getMarkupPath(), s.app->requestedPath());
        QCOMPARE(s.frame().windowTitle(), QStringLiteral("start.orv - ViewOrvo"));
        QVERIFY(!s.frame().isUrlBarShown());
        QCOMPARE(s.app->recentFiles().files(), QStringList{markup});
        QCOMPARE(QSettings(QStringLiteral("ORVO"), QStringLiteral("ViewOrvo"))
                     .value(QStringLiteral("Recent File List/File1"))
                     .toString(),
                 markup);
        QCOMPARE(itemTexts(s.frame().fileMenu()->actions()).at(1), QStringLiteral("&1 ") + markup);
    }

    void commandLineFileThatCannotBeOpenedEndsTheStart()
    {
        Shell s;
        const QString missing = s.fixture.path(QStringLiteral("nowhere.orv"));
        QVERIFY(!s.start({missing}));
        QCOMPARE(describe(s.messages),
                 QStringList{errorLine("ﾌｧｲﾙ" + s.fixture.bytesPath(QStringLiteral("nowhere.orv")) +
                                           "がｵｰﾌﾟﾝできない",
                                       "ViewOrvo")});
    }

    void droppedFilesOpenOneAfterTheOther()
    {
        Shell s;
        QVERIFY(s.start());
        const QString first = s.fixture.write(QStringLiteral("d/first.html"), "<html>1</html>\n");
        const QString second = s.fixture.write(QStringLiteral("d/second.html"), "<html>2</html>\n");
        QMimeData data;
        data.setUrls({fileUrl(first), fileUrl(second)});
        // As the platform delivers a drop: to the window, over the page.
        const QPointF overPage = s.frame().centralWidget()->geometry().center();
        QWindow* window = s.frame().windowHandle();
        QDragEnterEvent enter(overPage.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(overPage, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
        QVERIFY(drop.isAccepted());

        QTRY_COMPARE(s.app->recentFiles().files(), (QStringList{second, first}));
        QCOMPARE(s.app->requestedPath(), s.fixture.bytesPath(QStringLiteral("d/second.html")));
        QTRY_COMPARE_WITH_TIMEOUT(s.frame().windowTitle(), second, kLoadTimeoutMs);
    }

    void recentFileThatVanishedLeavesTheList()
    {
        Shell s;
        const QString page = s.fixture.write(QStringLiteral("m/page.html"), "<html>m</html>\n");
        QVERIFY(s.start({page}));
        s.restart();
        QCOMPARE(s.app->recentFiles().files(), QStringList{page});
        QFile::remove(page);
        s.frame().fileMenu()->actions().at(1)->trigger();
        QCOMPARE(s.messages.count(), std::size_t{1});
        QCOMPARE(s.app->recentFiles().files(), QStringList());
        QCOMPARE(itemTexts(s.frame().fileMenu()->actions()).at(1), utf8("最近使ったﾌｧｲﾙ"));
    }

    void pageStatusTextShowsInTheMessagePane()
    {
        Shell s;
        QVERIFY(s.start());
        emit s.view().page()->linkHovered(QStringLiteral("file:///somewhere/2.html"));
        QCOMPARE(s.frame().messagePaneText(), QStringLiteral("file:///somewhere/2.html"));
        emit s.view().page()->linkHovered(QString());
        QCOMPARE(s.frame().messagePaneText(), utf8("ﾚﾃﾞｨ"));
    }

    // A large presentation converts on the worker thread: the window's event
    // loop turns meanwhile, a progress dialog counts the pages, and the
    // messages still come one at a time, in their order, on the window's
    // thread, while the conversion waits for each.
    void largeConversionKeepsTheWindowTurning()
    {
        const int pages = static_cast<int>(orvo::app::kProgressDialogMinimumPages) + 100;
        const LargeConversion seen = convertManyPages(pages, false);
        QVERIFY(seen.ticks > 0);
        QVERIFY(seen.onWindowThread);
        QVERIFY(seen.dialogShown);
        QCOMPARE(seen.dialogMaximum, pages);
        QVERIFY(seen.dialogValue < pages);
        QCOMPARE(seen.converted, 1);
        QVERIFY(seen.lastPageWritten);
        QCOMPARE(seen.messages, seen.missingPages);
    }

    // Cancel stops before the next page: page 5's error never comes, the
    // last page is not written, and the presentation is not converted.
    void cancelStopsALargeConversion()
    {
        const int pages = static_cast<int>(orvo::app::kProgressDialogMinimumPages);
        const LargeConversion seen = convertManyPages(pages, true);
        QVERIFY(seen.dialogShown);
        QCOMPARE(seen.converted, 0);
        QVERIFY(!seen.lastPageWritten);
        QCOMPARE(seen.messages, seen.missingPages.mid(0, 1));
    }

    // Below the threshold no dialog comes up, and the conversion still runs
    // off the window's thread with its messages in order.
    void smallConversionShowsNoProgressDialog()
    {
        const int pages = static_cast<int>(orvo::app::kProgressDialogMinimumPages) - 1;
        const LargeConversion seen = convertManyPages(pages, true);
        QVERIFY(!seen.dialogShown);
        QVERIFY(seen.onWindowThread);
        QCOMPARE(seen.converted, 1);
        QCOMPARE(seen.messages, seen.missingPages);
    }

    void aboutBoxShowsTheProductAndVersion()
    {
        Shell s;
        QVERIFY(s.start());
        QString title;
        QStringList lines;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<orvo::app::CAboutDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            title = dialog->windowTitle();
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                lines.append(label->text());
            }
            dialog->accept();
        });
        s.frame().action(Command::AppAbout)->trigger();
        QCOMPARE(title, utf8("ViewOrvoのﾊﾞｰｼﾞｮﾝ情報"));
        QVERIFY(lines.contains(QStringLiteral("Orvo  Viewer  Version 1.0")));
    }

    // The toolbar takes the desktop theme's icons where it has them, and
    // its own painted ones elsewhere.
    void toolbarIconsComeFromTheIconThemeWithPaintedFallbacks()
    {
        QTemporaryDir themes;
        QVERIFY(themes.isValid());
        QDir(themes.path()).mkpath(QStringLiteral("orvotest/16x16/actions"));
        QFile index(themes.filePath(QStringLiteral("orvotest/index.theme")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=orvotest\nDirectories=16x16/actions\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n");
        index.close();
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        QVERIFY(pixmap.save(
            themes.filePath(QStringLiteral("orvotest/16x16/actions/document-open.png"))));

        // Theme icons are looked up lazily: the test theme stays until the end.
        struct ThemeGuard {
            QStringList paths = QIcon::themeSearchPaths();
            QString name = QIcon::themeName();
            ~ThemeGuard()
            {
                QIcon::setThemeSearchPaths(paths);
                QIcon::setThemeName(name);
            }
        } guard;
        QIcon::setThemeSearchPaths({themes.path()});
        QIcon::setThemeName(QStringLiteral("orvotest"));
        const QIcon open = orvo::app::openIcon();
        const QIcon run = orvo::app::runIcon();

        QCOMPARE(open.name(), QStringLiteral("document-open"));
        QCOMPARE(open.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
        QVERIFY(!run.isNull());
        QCOMPARE(run.name(), QString());
        QCOMPARE(run.availableSizes(), orvo::app::painted::runIcon().availableSizes());
    }
};

// QTEST_MAIN, with the attribute that Qt WebEngine asks for before the
// application object exists.
int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    ShellTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "shell_test.moc"
