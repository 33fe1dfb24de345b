#include "app/qtmessages.h"

#include "platform/encoding.h"

#include <QMessageBox>
#include <QString>

namespace orvo::app {

QString displayText(const std::string& localText)
{
    return QString::fromStdString(platform::toUtf8(localText));
}

void QtMessages::error(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Critical, displayText(caption), displayText(text),
                    QMessageBox::Ok);
    // An error stops the user's work until it is read: the box blocks every
    // window of the program, not only its parent.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool QtMessages::ask(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::NoIcon, displayText(caption), displayText(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace orvo::app
