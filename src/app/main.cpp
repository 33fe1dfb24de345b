// vieworvo: the ViewOrvo window. Usage: vieworvo [--settings FILE] [FILE]
// (vieworvo --help says more).

#include "app/commandline.h"
#include "app/cvieworvoapp.h"
#include "app/qtmessages.h"
#include "platform/buildtreemarker.h"
#include "platform/codepage.h"
#include "platform/settingslocation.h"
#include "i18n/messagecatalog.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTranslator>

#include <langinfo.h>

#include <cstdlib>
#include <string>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("ORVO"));
    QCoreApplication::setApplicationName(QStringLiteral("ViewOrvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVO_VERSION));
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvo;
    // The command line is read before the window system is reached, so that
    // --help, --version and a wrong option work without a display.
    app::CommandLine commandLine;
    std::string program;
    {
        QCoreApplication reader(argc, argv);
        nameApplication();
        commandLine = app::processCommandLine(QCoreApplication::arguments());
        // Only the program's folder counts; Qt reads it from /proc/self/exe.
        program =
            QFile::encodeName(
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vieworvo")))
                .toStdString();
    }

    // Qt WebEngine shares its OpenGL context with the widgets; Qt asks for
    // this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("vieworvo"));

    // QApplication has set the locale from the environment by now. The
    // window speaks the language of the core's messages: English where the
    // English catalog applies, else the texts as written.
    platform::setActiveCodePage(
        platform::chooseCodePage(std::getenv("ORVO_CODEPAGE"), nl_langinfo(CODESET)));
    // Installed, the data and the catalogs lie in ../share/ from the program;
    // run from a build tree, the marker beside the program names the build's.
    // A copy of the program with neither has no data folder.
    const platform::BuildTreePaths buildTree = platform::readBuildTreeMarker(program);
    const std::string language =
        i18n::installMessageCatalog(i18n::findLocaleFolder(program, buildTree.localeDir));
    QTranslator translator;
    if (language == "en" && translator.load(QStringLiteral(":/i18n/vieworvo_en.qm"))) {
        QCoreApplication::installTranslator(&translator);
    }

    platform::SettingsSources sources;
    sources.option = QFile::encodeName(commandLine.settings).toStdString();
    sources.iniVariable = environment("VIEWORVO_INI");
    sources.configHome = environment("XDG_CONFIG_HOME");
    sources.cacheHome = environment("XDG_CACHE_HOME");
    sources.home = environment("HOME");
    const std::string dataDir = platform::findDataFolder(program, buildTree.dataDir);
    const std::string settingsPath = platform::prepareSettingsFile(sources, dataDir);

    app::QtMessages messages;
    app::CViewOrvoApp viewOrvo(messages, settingsPath, dataDir);
    if (!viewOrvo.InitInstance(QApplication::arguments())) {
        return EXIT_FAILURE;
    }
    return QApplication::exec();
}
