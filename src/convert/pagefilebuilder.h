#pragma once

// Builds a page file out of its source page and the parts of its script: the
// source, line by line, each line ended by CR LF, with "../" in front of
// relative image references (the page file lies one folder below the source
// pages), the navigation bar behind the body start tag and the script block
// in front of "</head>". No character set conversion.

#include <cstddef>
#include <string>
#include <string_view>

#include "convert/pagewords.h"
#include "platform/files.h"

namespace orvo::convert {

// The page file lies in the output folder, one level below the folder that
// the source pages' relative references start from.
inline constexpr std::string_view kUpOneFolder = "../";

// The position right behind the "=" and blanks of an image attribute whose
// word lies at `pos`, where "../" goes: in front of the value, behind its
// opening quote if it has one. npos when the word names no attribute there,
// the value is missing, or it begins with "http". All the bytes looked at
// are single bytes below 0x40, which never occur inside a double-byte
// character, so they can be tested byte-wise.
std::size_t imageValueAt(std::string_view line, std::size_t pos, std::size_t wordLength);

// What a page file is built from; the storage is kept from page to page.
struct PreparedPage {
    platform::ReadBuffer source;
    // Where the words of the source lie (indexed when it was read).
    PageWords words;
    std::string navigationBar;
    // The page's script block with what goes right behind it.
    std::string scriptBlock;
};

// Builds the page file into `out` (emptied first).
void buildPageFile(PreparedPage& page, std::string& out);

} // namespace orvo::convert
