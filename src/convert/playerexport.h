#pragma once

// The agent runtime in an exported folder (orvo convert --with-player): the
// runtime's script lies beside the pages under this name, and every page
// loads it with templates::kPlayerScriptLine (pagetemplates.h).

#include <string_view>

namespace orvo::convert {

inline constexpr std::string_view kPlayerFileName = "orvo-player.js";

} // namespace orvo::convert
