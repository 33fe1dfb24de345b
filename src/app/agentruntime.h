#pragma once

// The agent runtime (src/player, bundled into one script by the build and
// kept in the program's resources) stands in for the script host and the
// Agent control that the converted pages were written for. The view adds it
// to every page and frame that it shows; the pages themselves stay as the
// converter wrote them.

#include <QString>

class QWebEngineScriptCollection;

namespace orvo::app {

// The bundled script; empty when the program was built without it.
QString agentRuntimeSource();

// Adds the runtime to the scripts of a page, once: in the page's own world,
// so that it sees the page's script blocks and objects, in every frame (the
// debug mode shows the pages inside a frame).
// The web channel's client script (qwebchannel.js) goes in first, so that
// the runtime can reach the native voice.
void installAgentRuntime(QWebEngineScriptCollection& scripts);

} // namespace orvo::app
