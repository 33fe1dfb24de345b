#pragma once

// The application's profile: QSettings("ORVO", "ViewOrvo"), which keeps the
// release/debug mode (section "Executive", entry "Release") and the recent-file
// list (section "Recent File List", entries "File1" to "File5").

#include <QString>
#include <QStringList>

namespace orvo::app::profile {

// The mode entry: 1 for release mode, 0 for debug mode; 0 when not set yet.
int readReleaseMode();
void writeReleaseMode(int mode);

// Non-empty entries File1..File<count>, in order.
QStringList readRecentFiles(int count);
// Replaces the whole section by the given list (File1 first).
void writeRecentFiles(const QStringList& files);

} // namespace orvo::app::profile
