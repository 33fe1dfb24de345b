#pragma once

// The stable id of every kind of message (Message::id). Texts change with the
// language; these never do, so tools match on them. Listed in the README.

namespace orvo::platform::ids {

// Errors.
inline constexpr const char* kSettingsUnreadable = "settings-unreadable";
inline constexpr const char* kFileUnreadable = "file-unreadable";
inline constexpr const char* kEchoUnwritable = "echo-unwritable";
inline constexpr const char* kOutputUnwritable = "output-unwritable";
inline constexpr const char* kUnknownTag = "unknown-tag";
inline constexpr const char* kMissingSingleEnd = "missing-single-end";
inline constexpr const char* kUnknownAttribute = "unknown-attribute";
inline constexpr const char* kUnsafeOutputFolder = "unsafe-output-folder";
inline constexpr const char* kUndeletableFile = "undeletable-file";
inline constexpr const char* kNoBody = "no-body";
inline constexpr const char* kNoPages = "no-pages";
inline constexpr const char* kNoAgent = "no-agent";
inline constexpr const char* kUnknownCharacter = "unknown-character";
inline constexpr const char* kUnknownJumpTarget = "unknown-jump-target";
inline constexpr const char* kPlayerUnknown = "player-unknown";
inline constexpr const char* kPlayerUnreadable = "player-unreadable";

// Warnings of `orvo check`: what converts without a word but will not play
// as written.
inline constexpr const char* kUnlistedEmotion = "unlisted-emotion";
inline constexpr const char* kUnknownAnimation = "unknown-animation";
inline constexpr const char* kUnknownSpot = "unknown-spot";
inline constexpr const char* kJumpNotAPage = "jump-not-a-page";
inline constexpr const char* kBlanksRemoved = "blanks-removed";
inline constexpr const char* kDuplicateCommandWord = "duplicate-command-word";
inline constexpr const char* kMissingSourcePage = "missing-source-page";
inline constexpr const char* kOffScreen = "off-screen";
// A page's "ref" leads out of the presentation's folder (the conversion
// refuses such a source page).
inline constexpr const char* kSourcePageOutside = "source-page-outside";

} // namespace orvo::platform::ids
