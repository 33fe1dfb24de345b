#pragma once

// The program's command line, as every Qt program reads it:
//   vieworvo [--settings FILE] [FILE]
//   vieworvo --help | --version
// --help and --version print and end the program; an unknown option is
// refused with a message on stderr and exit status 1. None of it needs a
// display. Of several files, the first is opened.

#include <QString>
#include <QStringList>

namespace orvo::app {

struct CommandLine {
    QString file;     // empty when none is given
    QString settings; // the --settings value; empty when not given
};

// For main(), with a QCoreApplication (any kind) alive: handles --help,
// --version and errors (which end the program), else returns the line.
CommandLine processCommandLine(const QStringList& arguments);

// The same reading without ending the program: unknown options are ignored.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace orvo::app
