// The document: its three states and what every command's update handler
// shows in each, the Open command's extension rules and questions, Convert,
// Run by mode, and the mode kept in the profile across runs.

#include "shelltestsupport.h"

#include "app/commandstate.h"
#include "app/cvieworvodoc.h"
#include "platform/codepage.h"

#include <QFileInfo>
#include <QSettings>
#include <QtTest>

using orvo::app::CommandState;
using orvo::app::CViewOrvoDoc;
using orvo::platform::RecordingMessages;
using namespace orvo::test;

namespace {

// What the update handlers say, in one line: convert, run, release check,
// debug check, mode pane text.
QString commandStates(const CViewOrvoDoc& doc)
{
    CommandState convert;
    CommandState run;
    CommandState release;
    CommandState debug;
    CommandState mode;
    doc.OnUpdateExecConvert(convert);
    doc.OnUpdateExecRun(run);
    doc.OnUpdateExecRelease(release);
    doc.OnUpdateExecDebug(debug);
    doc.OnUpdateIndicatorMode(mode);
    return QStringLiteral("convert %1, run %2, release %3, debug %4, pane %5 %6")
        .arg(convert.enabled ? QStringLiteral("on") : QStringLiteral("off"),
             run.enabled ? QStringLiteral("on") : QStringLiteral("off"),
             release.checked ? QStringLiteral("checked") : QStringLiteral("clear"),
             debug.checked ? QStringLiteral("checked") : QStringLiteral("clear"),
             mode.enabled ? QStringLiteral("on") : QStringLiteral("off"), mode.text);
}

const QString kNothingChosen =
    QStringLiteral("convert off, run off, release clear, debug checked, pane on Debug");
const QString kFileChosen =
    QStringLiteral("convert on, run off, release clear, debug checked, pane on Debug");
const QString kConverted =
    QStringLiteral("convert off, run on, release clear, debug checked, pane on Debug");

} // namespace

class DocumentTest final : public QObject {
    Q_OBJECT

private:
    // A document on the fixture's settings whose open dialog returns
    // `chosen` and whose view is recorded.
    struct Setup {
        ShellFixture fixture;
        RecordingMessages messages;
        RecordingView view;
        QString chosen;
        std::unique_ptr<CViewOrvoDoc> doc;

        Setup()
        {
            doc = std::make_unique<CViewOrvoDoc>(messages, fixture.settingsPath());
            doc->addView(&view);
            doc->setFileChooser([this] { return chosen; });
        }
        // Open answering the questions in turn.
        void open(const QString& file, std::initializer_list<bool> answers)
        {
            chosen = file;
            for (bool answer : answers) {
                messages.queueAnswer(answer);
            }
            doc->OnFileOpen();
        }
        std::string bytes(const QString& name) const { return fixture.bytesPath(name); }
    };

private slots:
    void initTestCase() { orvo::platform::setActiveCodePage(orvo::platform::CodePage::Utf8); }

    void startsWithNothingChosenInDebugMode()
    {
        Setup s;
        QCOMPARE(s.doc->releaseMode(), 0);
        QCOMPARE(s.doc->converted(), 0);
        QCOMPARE(commandStates(*s.doc), kNothingChosen);
        // The settings and both tables loaded without a message.
        QCOMPARE(describe(s.messages), QStringList());
        QVERIFY(QFileInfo::exists(s.fixture.path(QStringLiteral("cache/tagtypes.txt"))));
        QVERIFY(QFileInfo::exists(s.fixture.path(QStringLiteral("cache/emotionmap.txt"))));
    }

    void missingSettingsFileIsReportedOnceAtCreation()
    {
        ShellFixture fixture;
        RecordingMessages messages;
        const std::string missing = fixture.bytesPath(QStringLiteral("absent.ini"));
        CViewOrvoDoc doc(messages, missing);
        QCOMPARE(
            describe(messages),
            QStringList{errorLine("Setting file : " + missing + "がｵｰﾌﾟﾝできない", "読み出しｴﾗｰ")});
        QCOMPARE(commandStates(doc), kNothingChosen);
    }

    // No to the first question: nothing more is asked, nothing converted;
    // Convert (Ctrl+C) then converts and the state becomes Converted.
    void openMarkupAnsweringNoThenConvert()
    {
        Setup s;
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("show/a.orv"), kGoodMarkup);
        s.open(markup, {false});
        QCOMPARE(describe(s.messages), QStringList{askLine(kAskConvert, "convert")});
        QCOMPARE(s.doc->presentation().getMarkupPath(), s.bytes(QStringLiteral("show/a.orv")));
        QCOMPARE(commandStates(*s.doc), kFileChosen);
        QVERIFY(s.view.locations().empty());
        QVERIFY(!QFileInfo::exists(s.fixture.path(QStringLiteral("show/pages/1.html"))));

        s.doc->OnExecConvert();
        QCOMPARE(s.doc->converted(), 1);
        QCOMPARE(commandStates(*s.doc), kConverted);
        QVERIFY(QFileInfo::exists(s.fixture.path(QStringLiteral("show/pages/1.html"))));
        QVERIFY(QFileInfo::exists(s.fixture.path(QStringLiteral("show/pages/DebugFrame.html"))));
        QCOMPARE(s.messages.count(), std::size_t{1});
    }

    void openMarkupAnsweringYesTwiceConvertsAndRuns()
    {
        Setup s;
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("show/a.orv"), kGoodMarkup);
        s.open(markup, {true, true});
        QCOMPARE(describe(s.messages),
                 (QStringList{askLine(kAskConvert, "convert"), askLine(kAskRun, "run")}));
        QCOMPARE(commandStates(*s.doc), kConverted);
        QCOMPARE(s.view.locations(),
                 std::vector<std::string>{s.bytes(QStringLiteral("show/pages/DebugFrame.html"))});
    }

    void openMarkupAnsweringYesThenNoConvertsOnly()
    {
        Setup s;
        const QString markup = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.open(markup, {true, false});
        QCOMPARE(describe(s.messages),
                 (QStringList{askLine(kAskConvert, "convert"), askLine(kAskRun, "run")}));
        QCOMPARE(commandStates(*s.doc), kConverted);
        QVERIFY(s.view.locations().empty());
    }

    // The run question still comes after a failed conversion, and Yes goes to
    // an address that was not made.
    void failedConversionStillAsksToRun()
    {
        Setup s;
        const QString markup =
            s.fixture.writePresentation(QStringLiteral("b.orv"), kMarkupWithoutBody);
        s.open(markup, {true, true});
        QCOMPARE(describe(s.messages),
                 (QStringList{askLine(kAskConvert, "convert"),
                              errorLine("Can't find the body tag", "error when converting"),
                              askLine(kAskRun, "run")}));
        QCOMPARE(commandStates(*s.doc), kFileChosen);
        QCOMPARE(s.view.locations(),
                 std::vector<std::string>{s.bytes(QStringLiteral("pages/DebugFrame.html"))});
    }

    void unreadableMarkupFileFailsTheConversion()
    {
        Setup s;
        s.open(s.fixture.path(QStringLiteral("missing.orv")), {true, false});
        QCOMPARE(s.messages.count(), std::size_t{3});
        QCOMPARE(s.messages.entries()[1].kind, RecordingMessages::Kind::Error);
        QCOMPARE(commandStates(*s.doc), kFileChosen);
    }

    // Only "orv" and "html", exactly in that case, lead anywhere; any file
    // the dialog returns leaves Run disabled.
    void openOtherExtensionsAfterConversion_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::newRow("upper-case markup") << QStringLiteral("c.ORV") << false;
        QTest::newRow("mixed-case markup") << QStringLiteral("c.Orv") << false;
        QTest::newRow("text file") << QStringLiteral("c.txt") << false;
        QTest::newRow("htm") << QStringLiteral("c.htm") << false;
        QTest::newRow("upper-case html") << QStringLiteral("c.HTML") << false;
        QTest::newRow("markup with html behind") << QStringLiteral("c.orv.html") << true;
        QTest::newRow("html") << QStringLiteral("c.html") << true;
        QTest::newRow("dot in the folder only") << QStringLiteral("d.orv/c") << false;
    }

    void openOtherExtensionsAfterConversion()
    {
        QFETCH(QString, name);
        QFETCH(bool, shown);
        Setup s;
        const QString markup = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.open(markup, {true, false});
        QCOMPARE(commandStates(*s.doc), kConverted);
        s.messages.reset();

        s.open(s.fixture.path(name), {});
        QCOMPARE(describe(s.messages), QStringList());
        // The markup path stays, so Convert is offered again for it.
        QCOMPARE(s.doc->presentation().getMarkupPath(), s.bytes(QStringLiteral("a.orv")));
        QCOMPARE(commandStates(*s.doc), kFileChosen);
        if (shown) {
            QCOMPARE(s.view.locations(), std::vector<std::string>{s.bytes(name)});
        } else {
            QVERIFY(s.view.locations().empty());
        }
    }

    void openOtherExtensionWithNothingChosenKeepsEverythingDisabled()
    {
        Setup s;
        s.open(s.fixture.path(QStringLiteral("c.ORV")), {});
        QCOMPARE(s.doc->presentation().getMarkupPath(), std::string());
        QCOMPARE(commandStates(*s.doc), kNothingChosen);
        QCOMPARE(s.messages.count(), std::size_t{0});
    }

    void cancelledOpenChangesNothing()
    {
        Setup s;
        const QString markup = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.open(markup, {true, false});
        s.messages.reset();
        s.open(QString(), {});
        QCOMPARE(commandStates(*s.doc), kConverted);
        QCOMPARE(s.messages.count(), std::size_t{0});
    }

    void runOpensTheStartPageOfTheMode()
    {
        Setup s;
        s.doc->setMarkupPath(s.bytes(QStringLiteral("deck/talk.orv")));
        s.doc->OnExecRun();
        s.doc->OnExecRelease();
        s.doc->OnExecRun();
        s.doc->OnExecDebug();
        s.doc->OnExecRun();
        QCOMPARE(s.view.locations(),
                 (std::vector<std::string>{s.bytes(QStringLiteral("deck/pages/DebugFrame.html")),
                                           s.bytes(QStringLiteral("deck/pages/1.html")),
                                           s.bytes(QStringLiteral("deck/pages/DebugFrame.html"))}));
    }

    // A markup path without a folder: the output folder is relative.
    void runWithBareMarkupName()
    {
        Setup s;
        s.doc->setMarkupPath("talk.orv");
        s.doc->OnExecRelease();
        s.doc->OnExecRun();
        QCOMPARE(s.view.locations(), std::vector<std::string>{"pages/1.html"});
    }

    void runWithoutViewDoesNothing()
    {
        ShellFixture fixture;
        RecordingMessages messages;
        CViewOrvoDoc doc(messages, fixture.settingsPath());
        doc.setMarkupPath("talk.orv");
        doc.OnExecRun();
        QCOMPARE(messages.count(), std::size_t{0});
    }

    void modeCommandsCheckAndPersist()
    {
        Setup s;
        s.doc->OnExecRelease();
        QCOMPARE(commandStates(*s.doc), QStringLiteral("convert off, run off, release checked, "
                                                       "debug clear, pane on Release"));
        QCOMPARE(QSettings(QStringLiteral("ORVO"), QStringLiteral("ViewOrvo"))
                     .value(QStringLiteral("Executive/Release"))
                     .toInt(),
                 1);

        // The next run of the program starts in release mode.
        CViewOrvoDoc restarted(s.messages, s.fixture.settingsPath());
        QCOMPARE(restarted.releaseMode(), 1);
        QCOMPARE(commandStates(restarted), QStringLiteral("convert off, run off, release checked, "
                                                          "debug clear, pane on Release"));

        restarted.OnExecDebug();
        CViewOrvoDoc again(s.messages, s.fixture.settingsPath());
        QCOMPARE(again.releaseMode(), 0);
        QCOMPARE(commandStates(again), kNothingChosen);
    }

    // A markup file opened through the view after a conversion is a new,
    // unconverted file: Convert is offered for it and Run is not.
    void markupPathFromTheViewIsNotConvertedYet()
    {
        Setup s;
        const QString first = s.fixture.writePresentation(QStringLiteral("a.orv"), kGoodMarkup);
        s.open(first, {true, false});
        QCOMPARE(commandStates(*s.doc), kConverted);
        s.doc->setMarkupPath(s.bytes(QStringLiteral("other/b.orv")));
        QCOMPARE(commandStates(*s.doc), kFileChosen);
    }

    void stateChangesAreSignalled()
    {
        Setup s;
        QSignalSpy spy(s.doc.get(), &CViewOrvoDoc::commandStatesChanged);
        s.doc->OnExecRelease();
        s.doc->setMarkupPath("x.orv");
        QCOMPARE(spy.count(), 2);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "document_test.moc"
