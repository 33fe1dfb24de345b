#pragma once

// A "jump" tag: a request queued at the end of its step whose completion
// starts a timer that navigates to the target page's file.

#include "convert/forward.h"

namespace orvo::convert {

// Appends the request variable, the JumpFuntion sub, its request case and the
// request line of the current step. The target is the node whose "id" is the
// jump's "des"; its "realpagename" is the file to load (empty for a node that
// is not a page). False, after an error box and with nothing generated, when
// "des" names no node.
bool generateJump(const markup::TagNode& jump, PageScript& script, PageCounters& counters,
                  const TreeIndex& index, platform::Messages& messages);

} // namespace orvo::convert
