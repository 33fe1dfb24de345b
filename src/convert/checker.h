#pragma once

// The warnings of `orvo check`: what the conversion accepts without a word but
// what will not play as written. One walk over the parsed tree (an explicit
// stack, linear in its size; a long presentation's two halves on two
// threads, with the warnings in page order), each warning placed at its tag:
//   unlisted-emotion        a speech or move in an emotion that the emotion
//                           map does not list for the character: it is left
//                           out of the page
//   unknown-animation       a play of an animation the bundled character does
//                           not know: it plays a neutral gesture
//   unknown-spot            a spot that names no "spot" tag: the position of
//                           x, y and area is used
//   jump-not-a-page         a jump to an id that is no page
//   duplicate-command-word  a word listened for twice on one page
//   missing-source-page     a page whose source page does not exist
//   source-page-outside     a page whose source page lies outside the
//                           presentation's folder: it is not converted
//   off-screen              a position off the 800x600 screen
// (blanks-removed comes from the parser, which alone sees the written value.)

#include <cstddef>
#include <future>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace orvo::platform {
class Messages;
} // namespace orvo::platform

namespace orvo::config {
class Presentation;
}

namespace orvo::convert {

class AnimationNames;

// The listing of a presentation's markup folder, where its source pages
// mostly lie, started on a thread of its own when made: a caller makes it
// before it reads and parses the markup, and the check finds the listing
// ready.
class MarkupFolderListing {
public:
    explicit MarkupFolderListing(std::string_view markupPath);
    ~MarkupFolderListing();
    MarkupFolderListing(const MarkupFolderListing&) = delete;
    MarkupFolderListing& operator=(const MarkupFolderListing&) = delete;

    // The folder as the check names it, and the listing (waited for; none
    // when the folder cannot be listed). Taken once.
    const std::string& folder() const { return m_folder; }
    std::optional<platform::RegularFiles> take();

private:
    std::string m_folder;
    std::future<std::optional<platform::RegularFiles>> m_listing;
};

struct CheckOptions {
    // The bundled character's animations; null or empty: not checked.
    const AnimationNames* animations = nullptr;
    // The markup folder listed beforehand; null: listed when a source page
    // is first looked for.
    MarkupFolderListing* markupFolder = nullptr;
};

// Reports the warnings of a presentation whose markup file has been read and
// parsed; returns its page count (the children of its body).
std::size_t checkPresentation(const config::Presentation& presentation,
                              platform::Messages& messages, const CheckOptions& options = {});

} // namespace orvo::convert
