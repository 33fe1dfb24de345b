#include "platform/textformat.h"

#include <array>
#include <charconv>
#include <limits>

#include "platform/encoding.h"
#include "platform/translation.h"

namespace orvo::platform {

namespace detail {

std::string fill(std::string_view text, std::initializer_list<std::string_view> values,
                 bool localize)
{
    // A template of the program's own texts is the id of its translation,
    // which keeps its placeholders (the catalogs are compiled with
    // msgfmt --check); the pieces between them are then turned into the
    // active code page one by one, the arguments being in it already.
    std::string translated;
    if (localize) {
        translated = translate(text);
        text = translated;
    }
    // Sized once: the template and every value (a short result stays in the
    // string itself).
    std::size_t size = text.size();
    for (const std::string_view value : values) {
        size += value.size();
    }
    std::string out;
    out.reserve(size);
    auto next = values.begin();
    std::size_t pieceStart = 0;
    const auto appendPiece = [&](std::size_t end) {
        const std::string_view piece = text.substr(pieceStart, end - pieceStart);
        if (localize) {
            out += convertCodePage(piece, CodePage::Utf8, activeCodePage());
        } else {
            out.append(piece);
        }
    };
    // The compile-time check has matched the placeholders with the values
    // one for one; `next` is compared all the same, so that this never reads
    // past the list.
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && (text[i + 1] == 's' || text[i + 1] == 'd') && next != values.end()) {
            appendPiece(i);
            out.append(*next++);
            pieceStart = i + 2;
            ++i;
        }
    }
    appendPiece(text.size());
    return out;
}

std::string_view appendUpToPlaceholder(std::string& out, std::string_view rest)
{
    // Templates are long and their "%" few: jump from one to the next.
    for (std::size_t i = rest.find('%'); i != std::string_view::npos && i + 1 < rest.size();
         i = rest.find('%', i + 1)) {
        if (rest[i + 1] == 's' || rest[i + 1] == 'd') {
            out.append(rest.substr(0, i));
            return rest.substr(i + 2);
        }
    }
    // The compile-time check has matched every value with a placeholder.
    out.append(rest);
    return {};
}

void appendNumber(std::string& out, std::int64_t number)
{
    std::array<char, 24> digits{};
    const auto converted = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    out.append(digits.data(), converted.ptr);
}

} // namespace detail

std::string toDecimal(std::int64_t value)
{
    return std::to_string(value);
}

std::int32_t parseLeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace orvo::platform
