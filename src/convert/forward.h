#pragma once

// The types that the converter's headers name only by pointer or reference,
// declared once here instead of in every header.

namespace orvo::platform {
class Messages;
class OpenFolder;
} // namespace orvo::platform
namespace orvo::markup {
class PageContents;
struct SourceFile;
class TagNode;
} // namespace orvo::markup
namespace orvo::config {
class CharacterEmotions;
class EmotionMap;
class Presentation;
struct Settings;
} // namespace orvo::config

namespace orvo::convert {
class PageScript;
class TreeIndex;
struct PageCounters;
} // namespace orvo::convert
