#pragma once

// The application's profile: QSettings("ORVO", "ViewOrvo"), which keeps the
// release/debug mode (section "Executive", entry "Release"), the recent-file
// list (section "Recent File List", entries "File1" to "File5") and whether
// the voice is on (section "Voice", entry "Enabled"), and how the user asks
// the character to listen (section "Hearing").

#include <QString>
#include <QStringList>

namespace orvo::app::profile {

// The mode entry: 1 for release mode, 0 for debug mode; 0 when not set yet.
int readReleaseMode();
void writeReleaseMode(int mode);

// Whether the character speaks aloud (View menu); on when not set yet.
bool readVoiceEnabled();
void writeVoiceEnabled(bool enabled);
// The user's choice of the voice's language (entry "Voice/Language": "auto",
// "en" or "ja"); empty when not set.
QString readVoiceLanguage();

// The key held down to speak a voice command (entry "Hearing/Key", a key
// name as QKeySequence writes it); Scroll Lock when not set.
QString readListeningKey();
// Whether the toolbar has the button held down to speak (entry
// "Hearing/Button"); shown when not set.
bool readListeningButtonShown();

// Non-empty entries File1..File<count>, in order.
QStringList readRecentFiles(int count);
// Replaces the whole section by the given list (File1 first).
void writeRecentFiles(const QStringList& files);

} // namespace orvo::app::profile
