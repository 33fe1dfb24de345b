#pragma once

// Presentations for the page generator tests: parsed with the tag types of
// golden/tags.txt, with the emotion map golden/emotions.txt (the character
// "Merlin"), pages numbered as the conversion numbers them.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/emotionmap.h"
#include "markup/tagnode.h"
#include "platform/messages.h"

namespace orvo::test {

// ORVO_CONVERT_GOLDEN_DIR + relative.
std::string goldenPath(std::string_view relative);
// Every LF as CR LF: the on-disk form of generated text.
std::string crlf(std::string_view text);

struct LoadedPresentation {
    std::unique_ptr<markup::TagNode> root;
    config::EmotionMap emotions;
    platform::RecordingMessages messages;
    // The children of the first "body", each with its "realpagename" set.
    std::vector<markup::TagNode*> pages;

    markup::TagNode& page(std::size_t i) const { return *pages.at(i - 1); }
};

// Reads and parses a markup file. Fails the current test (and returns a
// presentation without root) when the file does not read or parse cleanly.
std::unique_ptr<LoadedPresentation> loadPresentation(const std::string& markupPath);
// The same for inline markup: the text between the "<orvo>" lines.
std::unique_ptr<LoadedPresentation> parsePresentation(const std::string& body);

// Appends a child to a tree built by hand (nesting the parser cannot express,
// such as a listen inside a listen).
markup::TagNode& addChild(markup::TagNode& parent, const std::string& name,
                          const std::map<std::string, std::string>& attributes = {},
                          const std::string& text = {});

} // namespace orvo::test
