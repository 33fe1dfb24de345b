#include "app/location.h"

#include "platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QUrl>

namespace orvo::app {

std::string extensionOf(std::string_view location)
{
    const std::size_t dot = platform::rfind(location, ".");
    if (dot == platform::npos) {
        return std::string(location);
    }
    return std::string(location.substr(dot + 1));
}

QString decodeLocation(const std::string& location)
{
    return QFile::decodeName(QByteArray::fromStdString(location));
}

std::string encodeLocation(const QString& location)
{
    return QFile::encodeName(location).toStdString();
}

QUrl urlForLocation(const std::string& location)
{
    return QUrl::fromUserInput(decodeLocation(location), QDir::currentPath(),
                               QUrl::AssumeLocalFile);
}

} // namespace orvo::app
