#include "shelltestsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace orvo::test {

const char* const kGoodMarkup = "<orvo>\n"
                                "<agent character=\"Orvi\"/>\n"
                                "<body>\n"
                                "<page ref=\"one.html\" id=\"one\" x=\"10\" y=\"20\">\n"
                                "<speak>Hello from the test.</speak>\n"
                                "</page>\n"
                                "</body>\n"
                                "</orvo>\n";

const char* const kMarkupWithoutBody = "<orvo>\n"
                                       "<agent character=\"Orvi\"/>\n"
                                       "</orvo>\n";

ShellFixture::ShellFixture()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       path(QStringLiteral("profile")));
    write(QStringLiteral("welcome.html"),
          "<html><head><title>Welcome</title></head><body>Welcome</body></html>\n");
    QDir().mkpath(path(QStringLiteral("cache")));
    const QByteArray settings = "tagTypeFile=tagtypes.txt\n"
                                "emotionMapFile=emotionmap.txt\n"
                                "previousImage=previous.gif\n"
                                "nextImage=next.gif\n"
                                "debugFrameFile=DebugFrame.html\n"
                                "welcomePageFile=" +
                                QFile::encodeName(welcomePage()) +
                                "\n"
                                "settingDir=" ORVO_SOURCE_DATA_DIR "\n"
                                "tempDir=" +
                                QFile::encodeName(path(QStringLiteral("cache/"))) +
                                "\n"
                                "workingDir=pages/\n";
    m_settingsPath =
        QFile::encodeName(write(QStringLiteral("ViewOrvo.ini"), settings)).toStdString();
}

QString ShellFixture::path(const QString& name) const
{
    return m_dir.filePath(name);
}

std::string ShellFixture::bytesPath(const QString& name) const
{
    return QFile::encodeName(path(name)).toStdString();
}

QString ShellFixture::write(const QString& name, const QByteArray& content) const
{
    const QString full = QDir::isAbsolutePath(name) ? name : path(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(content);
    }
    return full;
}

QString ShellFixture::writePresentation(const QString& name, const char* markup) const
{
    write(QFileInfo(path(name)).dir().filePath(QStringLiteral("one.html")),
          "<html><head><title>One</title></head><body><p>Page one</p></body></html>\n");
    return write(name, markup);
}

QStringList describe(const platform::RecordingMessages& messages)
{
    QStringList lines;
    for (const auto& entry : messages.entries()) {
        lines.append(entry.kind == platform::RecordingMessages::Kind::Question
                         ? askLine(entry.text.c_str(), entry.caption.c_str())
                         : errorLine(entry.text, entry.caption));
    }
    return lines;
}

QString askLine(const char* text, const char* caption)
{
    return QStringLiteral("ask|") + QString::fromUtf8(caption) + QLatin1Char('|') +
           QString::fromUtf8(text);
}

QString errorLine(const std::string& text, const std::string& caption)
{
    return QStringLiteral("error|") + QString::fromStdString(caption) + QLatin1Char('|') +
           QString::fromStdString(text);
}

} // namespace orvo::test
