// vieworvo: the ViewOrvo window. Usage: vieworvo [--settings FILE] [FILE]

#include "app/cvieworvoapp.h"
#include "app/qtmessages.h"
#include "platform/buildtreemarker.h"
#include "platform/codepage.h"
#include "platform/settingslocation.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>

#include <langinfo.h>

#include <cstdlib>
#include <string>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt WebEngine shares its OpenGL context with the widgets; Qt asks for
    // this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ORVO"));
    QApplication::setApplicationName(QStringLiteral("ViewOrvo"));
    QApplication::setDesktopFileName(QStringLiteral("vieworvo"));

    // QApplication has set the locale from the environment by now.
    using namespace orvo;
    platform::setActiveCodePage(
        platform::chooseCodePage(std::getenv("ORVO_CODEPAGE"), nl_langinfo(CODESET)));

    const app::CommandLine commandLine = app::parseCommandLine(QApplication::arguments());
    platform::SettingsSources sources;
    sources.option = QFile::encodeName(commandLine.settings).toStdString();
    sources.iniVariable = environment("VIEWORVO_INI");
    sources.configHome = environment("XDG_CONFIG_HOME");
    sources.cacheHome = environment("XDG_CACHE_HOME");
    sources.home = environment("HOME");
    // Installed, the data lies in ../share/vieworvo/data/ from the program;
    // run from a build tree, the marker beside the program names the source
    // tree's. A copy of the program with neither has no data folder.
    // Only the program's folder counts; Qt reads it from /proc/self/exe.
    const std::string program =
        QFile::encodeName(
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vieworvo")))
            .toStdString();
    const std::string dataDir =
        platform::findDataFolder(program, platform::readBuildTreeMarker(program).dataDir);
    const std::string settingsPath = platform::prepareSettingsFile(sources, dataDir);

    app::QtMessages messages;
    app::CViewOrvoApp viewOrvo(messages, settingsPath, dataDir);
    if (!viewOrvo.InitInstance(QApplication::arguments())) {
        return EXIT_FAILURE;
    }
    return QApplication::exec();
}
