#pragma once

// The agent's speech tags, as the voice obeys them. A speech text is plain
// text with tags between backslashes:
//
//   \Pau=N\   silence of N ms             \Spd=N\   rate, words per minute
//   \Pit=N\   pitch in Hz                 \Vol=N\   volume, 0 to 65535
//   \Emp\     stresses the next word      \Rst\     back to the defaults
//   \Chr="Normal"\, "Monotone" or "Whisper": the voice's character
//   \Map="spoken"="shown"\  the voice says the first text, the balloon shows
//             the second
//   \\        a backslash
//
// \Mrk\, \Ctx\ and \Lst\ concern the balloon and the control, not the voice;
// they and unknown tags are skipped. The text becomes a list of pieces, each
// spoken with one set of voice settings or a silence, and every spoken byte
// remembers which bytes of the original text it stands for, so that word
// events point into the text the author wrote.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::speech {

// A byte range [begin, end) of the original text.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const Span&) const = default;
};

enum class VoiceStyle { Normal, Monotone, Whisper };

struct VoiceSettings {
    int wordsPerMinute = 0; // 0: the voice's own rate
    int pitchHz = 0;        // 0: the voice's own pitch
    int volume = -1;        // 0 to 65535; -1: full volume
    VoiceStyle style = VoiceStyle::Normal;
    bool emphasis = false;
    bool operator==(const VoiceSettings&) const = default;
};

// The control's ranges for \Spd\, \Pit\ and \Vol\; a longer \Pau\ than a
// minute is cut to one, so that no tag can make the voice allocate hours of
// silence.
inline constexpr int kMinWordsPerMinute = 50;
inline constexpr int kMaxWordsPerMinute = 250;
inline constexpr int kMinPitchHz = 50;
inline constexpr int kMaxPitchHz = 400;
inline constexpr int kMaxVolume = 65535;
inline constexpr int kMaxPauseMs = 60000;

// A silence of `ms` before the first word that starts at or after byte
// `offset` of the piece's spoken text (at the piece's end when none does).
// Pauses sit inside a piece, not between two, so that the text around them
// keeps the intonation it has without them and the pause adds just its time.
struct PauseMark {
    std::size_t offset = 0;
    int ms = 0;
};

struct SpeechPiece {
    std::string spoken;       // the text to say
    std::vector<Span> origin; // for every byte of `spoken`, what it stands for
    std::vector<PauseMark> pauses;
    VoiceSettings voice;
};

// Pieces in speaking order. Runs of text with the same settings form one
// piece (tags without an effect on the voice do not split it); pieces with
// nothing but white space and no pause are left out.
std::vector<SpeechPiece> parseSpeechTags(std::string_view text);

} // namespace orvo::speech
