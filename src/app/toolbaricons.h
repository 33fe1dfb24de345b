#pragma once

// The program's own icons, drawn in code so that no image plugin is needed:
// the toolbar's open, convert, run and about buttons and the window icon.

#include <QIcon>

namespace orvo::app {

QIcon openIcon();
QIcon convertIcon();
QIcon runIcon();
QIcon aboutIcon();
QIcon applicationIcon();

} // namespace orvo::app
