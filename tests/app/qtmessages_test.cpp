// The message boxes of the window: an error is application-modal with the
// error icon and one OK button; a question has Yes and No and no icon; texts
// and captions arrive in the active code page and are shown decoded.

#include "app/qtmessages.h"
#include "platform/codepage.h"
#include "platform/encoding.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

using orvo::app::QtMessages;
using orvo::platform::CodePage;

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
    bool hasParent = true;
};

// Records the box that opens next and closes it with `button`.
void closeNextBox(QObject* context, SeenBox& seen, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, context, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.modality = box->windowModality();
        seen.hasParent = box->parentWidget() != nullptr;
        box->button(button)->click();
    });
}

} // namespace

class QtMessagesTest final : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { orvo::platform::setActiveCodePage(CodePage::Utf8); }

    void errorBoxHasTheErrorIconAndOk()
    {
        QtMessages messages;
        SeenBox seen;
        closeNextBox(this, seen, QMessageBox::Ok);
        messages.error("Can't find the body tag", "error when converting");
        QCOMPARE(seen.title, QStringLiteral("error when converting"));
        QCOMPARE(seen.text, QStringLiteral("Can't find the body tag"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(seen.modality, Qt::ApplicationModal);
        QVERIFY(!seen.hasParent);
    }

    void questionHasYesAndNoWithoutIcon()
    {
        QtMessages messages;
        SeenBox seen;
        closeNextBox(this, seen, QMessageBox::Yes);
        QVERIFY(messages.ask("Do you want to run the ORVO file now?", "run"));
        QCOMPARE(seen.title, QStringLiteral("run"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);

        closeNextBox(this, seen, QMessageBox::No);
        QVERIFY(!messages.ask("Do you want to run the ORVO file now?", "run"));
    }

    // A Shift-JIS caption and text (as the core makes them on such systems)
    // are shown as the characters they stand for.
    void textsAreDecodedFromTheActiveCodePage()
    {
        orvo::platform::setActiveCodePage(CodePage::ShiftJis);
        const std::string text = orvo::platform::localText("ﾌｧｲﾙa.orvがｵｰﾌﾟﾝできない");
        const std::string caption = orvo::platform::localText("読み出しｴﾗｰ");
        QVERIFY(text != "ﾌｧｲﾙa.orvがｵｰﾌﾟﾝできない");
        QtMessages messages;
        SeenBox seen;
        closeNextBox(this, seen, QMessageBox::Ok);
        messages.error(text, caption);
        QCOMPARE(seen.title, QString::fromUtf8("読み出しｴﾗｰ"));
        QCOMPARE(seen.text, QString::fromUtf8("ﾌｧｲﾙa.orvがｵｰﾌﾟﾝできない"));
    }
};

QTEST_MAIN(QtMessagesTest)
#include "qtmessages_test.moc"
