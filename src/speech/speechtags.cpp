#include "speech/speechtags.h"

#include <algorithm>
#include <cctype>

namespace orvo::speech {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return out;
}

// The leading integer of a tag's argument (sign, then digits), as the
// control reads it; false when there is none. Huge values saturate.
bool leadingInt(std::string_view text, int& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long magnitude = 0;
    const std::size_t digits = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), 1000000000LL);
    }
    if (i == digits) {
        return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// A quoted value of \Map\: its raw range in the text and its text with ""
// read as one quote.
struct QuotedValue {
    Span raw;
    std::string text;
};

// The quoted values in text[begin, end); "" inside a value is a quote.
std::vector<QuotedValue> quotedValues(std::string_view text, std::size_t begin, std::size_t end)
{
    std::vector<QuotedValue> values;
    std::size_t i = begin;
    while (i < end) {
        if (text[i] != '"') {
            ++i;
            continue;
        }
        QuotedValue value;
        value.raw.begin = ++i;
        bool closed = false;
        while (i < end) {
            if (text[i] == '"' && i + 1 < end && text[i + 1] == '"') {
                value.text.push_back('"');
                i += 2;
            } else if (text[i] == '"') {
                closed = true;
                break;
            } else {
                value.text.push_back(text[i++]);
            }
        }
        value.raw.end = i;
        if (!closed) {
            break;
        }
        ++i;
        values.push_back(std::move(value));
    }
    return values;
}

class PieceBuilder {
public:
    std::vector<SpeechPiece> pieces;
    VoiceSettings voice;
    bool emphasisPending = false;

    // Appends spoken bytes, each standing for its origin span. A pending
    // \Emp\ takes the next word (up to white space) into a piece of its own.
    void say(std::string_view bytes, const std::vector<Span>& origin)
    {
        std::size_t pos = 0;
        if (emphasisPending) {
            std::size_t wordBegin = 0;
            while (wordBegin < bytes.size() && isSpace(bytes[wordBegin])) {
                ++wordBegin;
            }
            if (wordBegin == bytes.size()) {
                append(bytes, origin, 0, bytes.size(), voice);
                return;
            }
            std::size_t wordEnd = wordBegin;
            while (wordEnd < bytes.size() && !isSpace(bytes[wordEnd])) {
                ++wordEnd;
            }
            append(bytes, origin, 0, wordBegin, voice);
            VoiceSettings stressed = voice;
            stressed.emphasis = true;
            append(bytes, origin, wordBegin, wordEnd, stressed);
            emphasisPending = false;
            pos = wordEnd;
        }
        append(bytes, origin, pos, bytes.size(), voice);
    }

    void pause(int ms)
    {
        if (pieces.empty()) {
            pieces.emplace_back().voice = voice;
        }
        SpeechPiece& piece = pieces.back();
        piece.pauses.push_back({piece.spoken.size(), std::min(ms, kMaxPauseMs)});
    }

    void finish()
    {
        std::erase_if(pieces, [](const SpeechPiece& piece) {
            return piece.pauses.empty() &&
                   std::all_of(piece.spoken.begin(), piece.spoken.end(), isSpace);
        });
    }

private:
    void append(std::string_view bytes, const std::vector<Span>& origin, std::size_t from,
                std::size_t to, const VoiceSettings& settings)
    {
        if (from >= to) {
            return;
        }
        // White space joins the piece before it whatever the settings, so
        // that a run of stressed words (\Emp\ before each) is one piece,
        // said as one phrase.
        const bool blank = std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(to), isSpace);
        if (pieces.empty() || !(blank || pieces.back().voice == settings)) {
            SpeechPiece piece;
            piece.voice = settings;
            pieces.push_back(std::move(piece));
        }
        SpeechPiece& piece = pieces.back();
        piece.spoken.append(bytes.substr(from, to - from));
        piece.origin.insert(piece.origin.end(), origin.begin() + static_cast<std::ptrdiff_t>(from),
                            origin.begin() + static_cast<std::ptrdiff_t>(to));
    }
};

// Origin spans of the original bytes text[begin, end), one per byte.
std::vector<Span> identityOrigin(std::size_t begin, std::size_t end)
{
    std::vector<Span> origin;
    origin.reserve(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        origin.push_back({i, i + 1});
    }
    return origin;
}

void applyTag(std::string_view text, std::size_t tagBegin, std::size_t tagEnd,
              PieceBuilder& builder)
{
    const std::string_view tag = text.substr(tagBegin, tagEnd - tagBegin);
    std::size_t i = 0;
    while (i < tag.size() && isSpace(tag[i])) {
        ++i;
    }
    const std::size_t nameBegin = i;
    while (i < tag.size() && std::isalpha(static_cast<unsigned char>(tag[i]))) {
        ++i;
    }
    const std::string name = lower(tag.substr(nameBegin, i - nameBegin));
    while (i < tag.size() && isSpace(tag[i])) {
        ++i;
    }
    std::string_view argument;
    std::size_t argumentBegin = tagBegin + i;
    if (i < tag.size()) {
        if (tag[i] != '=') {
            return; // not a tag the control would read
        }
        argumentBegin = tagBegin + i + 1;
        argument = trim(tag.substr(i + 1));
    }
    int number = 0;
    const bool hasNumber = leadingInt(argument, number);
    VoiceSettings& voice = builder.voice;
    if (name == "pau") {
        if (hasNumber && number > 0) {
            builder.pause(number);
        }
    } else if (name == "spd") {
        if (hasNumber) {
            voice.wordsPerMinute = std::clamp(number, kMinWordsPerMinute, kMaxWordsPerMinute);
        }
    } else if (name == "pit") {
        if (hasNumber) {
            voice.pitchHz = std::clamp(number, kMinPitchHz, kMaxPitchHz);
        }
    } else if (name == "vol") {
        if (hasNumber) {
            voice.volume = std::clamp(number, 0, kMaxVolume);
        }
    } else if (name == "chr") {
        std::string style = lower(argument);
        std::erase(style, '"');
        if (style == "normal") {
            voice.style = VoiceStyle::Normal;
        } else if (style == "monotone") {
            voice.style = VoiceStyle::Monotone;
        } else if (style == "whisper") {
            voice.style = VoiceStyle::Whisper;
        }
    } else if (name == "emp") {
        builder.emphasisPending = true;
    } else if (name == "rst") {
        voice = VoiceSettings{};
    } else if (name == "map") {
        const std::vector<QuotedValue> values = quotedValues(text, argumentBegin, tagEnd);
        if (values.size() == 2) {
            // Every spoken byte stands for the whole shown text.
            const std::vector<Span> origin(values[0].text.size(), values[1].raw);
            builder.say(values[0].text, origin);
        }
    }
    // \Mrk\, \Ctx\, \Lst\ and unknown tags: nothing for the voice.
}

} // namespace

std::vector<SpeechPiece> parseSpeechTags(std::string_view text)
{
    PieceBuilder builder;
    std::size_t plainBegin = 0;
    std::size_t pos = 0;
    const auto sayPlain = [&](std::size_t end) {
        if (end > plainBegin) {
            builder.say(text.substr(plainBegin, end - plainBegin), identityOrigin(plainBegin, end));
        }
    };
    while (pos < text.size()) {
        const std::size_t slash = text.find('\\', pos);
        if (slash == std::string_view::npos) {
            break;
        }
        sayPlain(slash);
        if (slash + 1 < text.size() && text[slash + 1] == '\\') {
            builder.say("\\", {Span{slash, slash + 2}});
            pos = plainBegin = slash + 2;
            continue;
        }
        const std::size_t close = text.find('\\', slash + 1);
        const std::size_t tagEnd = close == std::string_view::npos ? text.size() : close;
        applyTag(text, slash + 1, tagEnd, builder);
        pos = plainBegin = close == std::string_view::npos ? text.size() : close + 1;
    }
    sayPlain(text.size());
    builder.finish();
    return std::move(builder.pieces);
}

} // namespace orvo::speech
