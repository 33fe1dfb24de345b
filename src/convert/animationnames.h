#pragma once

// The animations that the bundled character plays. The agent runtime exports
// its table (tools/export-animations.mjs writes animations.txt, one
// lower-case name a line); a name of a page is resolved the way the runtime
// resolves it (resolveAnimationKey in src/player/animations.js): case and
// blanks at either end ignored, "...Return" and "...Blink" variants of a
// known name, IdleN_M, and numbered variants such as Congratulate_2. A name
// the runtime cannot resolve plays a neutral gesture instead.

#include <string>
#include <string_view>
#include <unordered_set>

namespace orvo::convert {

class AnimationNames {
public:
    // One name a line; blank lines are skipped.
    static AnimationNames fromList(std::string_view list);

    bool empty() const { return m_names.empty(); }
    bool knows(std::string_view name) const;

private:
    bool direct(const std::string& key) const { return m_names.count(key) != 0; }
    bool resolves(std::string key) const;

    std::unordered_set<std::string> m_names;
};

} // namespace orvo::convert
