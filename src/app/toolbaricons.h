#pragma once

// The toolbar's open, convert, run, listen and about buttons and the window
// icon. They come from the desktop's icon theme, so that the toolbar looks
// like the other programs' (document-open, system-run, media-playback-start,
// audio-input-microphone, help-about, and the installed vieworvo); where the theme has no such
// icon, or there is no theme, the program's own icons stand in, drawn in code so that no image
// plugin is needed.

#include <QIcon>

namespace orvo::app {

QIcon openIcon();
QIcon convertIcon();
QIcon runIcon();
QIcon listenIcon();
QIcon aboutIcon();
QIcon applicationIcon();

// The program's own drawings.
namespace painted {
QIcon openIcon();
QIcon convertIcon();
QIcon runIcon();
QIcon listenIcon();
QIcon aboutIcon();
QIcon applicationIcon();
} // namespace painted

} // namespace orvo::app
