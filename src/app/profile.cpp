#include "app/profile.h"

#include <QSettings>

namespace orvo::app::profile {

namespace {

QString organization()
{
    return QStringLiteral("ORVO");
}

QString application()
{
    return QStringLiteral("ViewOrvo");
}

QString releaseKey()
{
    return QStringLiteral("Executive/Release");
}

QString recentFileGroup()
{
    return QStringLiteral("Recent File List");
}

QString recentFileKey(int number)
{
    return QStringLiteral("File") + QString::number(number);
}

QString voiceKey()
{
    return QStringLiteral("Voice/Enabled");
}

} // namespace

bool readVoiceEnabled()
{
    QSettings settings(organization(), application());
    return settings.value(voiceKey(), true).toBool();
}

void writeVoiceEnabled(bool enabled)
{
    QSettings settings(organization(), application());
    settings.setValue(voiceKey(), enabled);
}

QString readVoiceLanguage()
{
    QSettings settings(organization(), application());
    return settings.value(QStringLiteral("Voice/Language")).toString();
}

QString readListeningKey()
{
    QSettings settings(organization(), application());
    return settings.value(QStringLiteral("Hearing/Key"), QStringLiteral("ScrollLock")).toString();
}

bool readListeningButtonShown()
{
    QSettings settings(organization(), application());
    return settings.value(QStringLiteral("Hearing/Button"), true).toBool();
}

int readReleaseMode()
{
    QSettings settings(organization(), application());
    return settings.value(releaseKey(), 0).toInt();
}

void writeReleaseMode(int mode)
{
    QSettings settings(organization(), application());
    settings.setValue(releaseKey(), mode);
}

QStringList readRecentFiles(int count)
{
    QSettings settings(organization(), application());
    settings.beginGroup(recentFileGroup());
    QStringList files;
    for (int number = 1; number <= count; ++number) {
        const QString file = settings.value(recentFileKey(number)).toString();
        if (!file.isEmpty()) {
            files.append(file);
        }
    }
    return files;
}

void writeRecentFiles(const QStringList& files)
{
    QSettings settings(organization(), application());
    settings.remove(recentFileGroup());
    settings.beginGroup(recentFileGroup());
    for (qsizetype i = 0; i < files.size(); ++i) {
        settings.setValue(recentFileKey(static_cast<int>(i) + 1), files.at(i));
    }
}

} // namespace orvo::app::profile
