#include "app/commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace orvo::app {

namespace {

const QString kSettingsOption = QStringLiteral("settings");

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Shows, converts and plays presentations written in ORVO markup "
                       "(.orv files)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        QCommandLineOption(kSettingsOption,
                           QStringLiteral("The settings file (default: $VIEWORVO_INI, else "
                                          "~/.config/ViewOrvo.ini)."),
                           QStringLiteral("FILE")));
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A presentation (.orv) or a page to open."),
                                 QStringLiteral("[FILE]"));
}

CommandLine lineOf(const QCommandLineParser& parser)
{
    CommandLine line;
    line.settings = parser.value(kSettingsOption);
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty()) {
        line.file = files.first();
    }
    return line;
}

} // namespace

CommandLine processCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(arguments);
    return lineOf(parser);
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    parser.parse(arguments);
    return lineOf(parser);
}

} // namespace orvo::app
