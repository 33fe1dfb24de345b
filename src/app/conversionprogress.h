#pragma once

// The window's conversion: read, parse and convert on a worker thread
// (ConversionJob) while the window's event loop keeps turning, so that even
// a conversion of a hundred thousand pages never freezes the window. From
// kProgressDialogMinimumPages pages on, a modal progress dialog shows how far
// it got and offers Cancel; smaller presentations convert too quickly for
// one. Until the dialog is up, the window repaints but takes no input, so no
// command starts while the worker owns the presentation.

#include <cstddef>

namespace orvo::config {
class Presentation;
}
namespace orvo::platform {
class Messages;
}

namespace orvo::app {

inline constexpr std::size_t kProgressDialogMinimumPages = 500;

// Returns when the conversion has ended: true when it succeeded, false after
// a failure (shown through messages) or a Cancel. `messages` must show
// messages from the worker on this thread (WindowThreadMessages), and the
// presentation's own Messages too.
bool convertWithProgress(config::Presentation& presentation, platform::Messages& messages);

} // namespace orvo::app
