#pragma once

// The agent runtime in an exported folder (orvo convert --with-player): the
// runtime's script lies beside the pages under this name, and every page
// loads it with this line, put right behind the page's script block so that
// the runtime finds the block already parsed. The charset keeps the browser
// from decoding the runtime in the page's own code page (Shift-JIS pages).

#include <string_view>

namespace orvo::convert {

inline constexpr std::string_view kPlayerFileName = "orvo-player.js";
inline constexpr std::string_view kPlayerScriptLine =
    "<script src=\"orvo-player.js\" charset=\"utf-8\"></script>\n";

} // namespace orvo::convert
