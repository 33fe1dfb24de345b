#pragma once

// Typed fill-in of the program's message and code templates. Each "%s" of a
// template takes a text and each "%d" a whole number, in order; the kinds and
// the count are checked when the program is compiled, so a template filled
// with a wrong argument, or with one too many or too few, does not build
// (the way fmt checks its format strings):
//
//     fillTemplate("%d.html", 3)                      // "3.html"
//     fillTemplate("Case %s", 3)                      // does not build
//     constexpr Template<Text, Number> kLine{"%s=%d"};
//     fillTemplate(kLine, "x", 2)                     // "x=2"
//
// A "%" that is not followed by "s" or "d" is written as it is. Arguments are
// copied as they are and never searched for placeholders themselves. No
// fixed-size buffer is involved.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace orvo::platform {

// The kinds of placeholder: "%s" and "%d".
struct Text {};
struct Number {};

namespace detail {

// Not constexpr on purpose: reaching it while a template is checked at
// compile time stops the build there, with this name in the message.
void templatePlaceholdersDoNotMatchItsArguments();

template <class Kind> consteval char placeholderOf()
{
    return std::is_same_v<Kind, Number> ? 'd' : 's';
}

template <class... Kinds> consteval void checkPlaceholders(std::string_view text)
{
    constexpr char expected[] = {placeholderOf<Kinds>()..., '\0'};
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%' || (text[i + 1] != 's' && text[i + 1] != 'd')) {
            continue;
        }
        if (count >= sizeof...(Kinds) || expected[count] != text[i + 1]) {
            templatePlaceholdersDoNotMatchItsArguments();
        }
        ++count;
        ++i;
    }
    if (count != sizeof...(Kinds)) {
        templatePlaceholdersDoNotMatchItsArguments();
    }
}

// A whole number, but not a bool or a character: those are taken for
// mistakes rather than printed as digits.
template <class T>
concept WholeNumber =
    std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
    !std::same_as<T, signed char> && !std::same_as<T, unsigned char> && !std::same_as<T, char8_t> &&
    !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>;

template <class T>
concept TextLike = std::convertible_to<const T&, std::string_view>;

// A text that writes itself into the output (an escaping of another text),
// so that appendTemplate needs no copy of it.
template <class T>
concept AppendsItself = requires(const T& value, std::string& out)
{
    value.appendTo(out);
};

// The placeholder kind an argument fills; anything else does not build.
template <class T>
requires WholeNumber<T> || TextLike<T> || AppendsItself<T>
using KindOf = std::conditional_t<WholeNumber<T>, Number, Text>;

// One argument as text: a view of a text, or the digits of a number.
class Filling {
public:
    template <TextLike T> explicit Filling(const T& text) : m_view(text) {}
    template <WholeNumber T>
    explicit Filling(T number) : m_digits(std::to_string(number)), m_view(m_digits)
    {
    }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;
    std::string_view view() const { return m_view; }

private:
    std::string m_digits;
    std::string_view m_view;
};

// Fills the placeholders of an already checked template; with `localize`,
// the template's own text is turned from UTF-8 into the active code page
// piece by piece, while the arguments stay as they are.
std::string fill(std::string_view text, std::initializer_list<std::string_view> values,
                 bool localize);

// Appends `rest` up to its first placeholder, then the value, and moves rest
// behind that placeholder.
std::string_view appendUpToPlaceholder(std::string& out, std::string_view rest);
void appendNumber(std::string& out, std::int64_t number);

template <class T> void appendValue(std::string& out, std::string_view& rest, const T& value)
{
    rest = appendUpToPlaceholder(out, rest);
    if constexpr (AppendsItself<T>) {
        value.appendTo(out);
    } else if constexpr (WholeNumber<T>) {
        appendNumber(out, static_cast<std::int64_t>(value));
    } else {
        out.append(std::string_view(value));
    }
}

} // namespace detail

// A template whose placeholders are, in order, of the kinds given. Made only
// at compile time, from a literal or a constant.
template <class... Kinds> class Template {
public:
    consteval Template(const char* text) : m_text(text) // NOLINT(google-explicit-constructor)
    {
        detail::checkPlaceholders<Kinds...>(m_text);
    }
    consteval Template(std::string_view text) : m_text(text) // NOLINT(google-explicit-constructor)
    {
        detail::checkPlaceholders<Kinds...>(m_text);
    }
    constexpr std::string_view text() const { return m_text; }

private:
    std::string_view m_text;
};

template <class... Args>
using TemplateFor = Template<detail::KindOf<std::remove_cvref_t<std::decay_t<Args>>>...>;

// The template with its placeholders filled.
template <class... Args> std::string fillTemplate(TemplateFor<Args...> tmpl, const Args&... args)
{
    return detail::fill(tmpl.text(), {detail::Filling(args).view()...}, false);
}

// The same for a template kept in UTF-8 (the program's Japanese texts): the
// result is in the active code page, the arguments being in it already.
// The same, appended to `out`: with out's storage grown once, filling
// allocates nothing.
template <class... Args>
void appendTemplate(std::string& out, TemplateFor<Args...> tmpl, const Args&... args)
{
    std::string_view rest = tmpl.text();
    (detail::appendValue(out, rest, args), ...);
    out.append(rest);
}

template <class... Args>
std::string fillLocalTemplate(TemplateFor<Args...> tmpl, const Args&... args)
{
    return detail::fill(tmpl.text(), {detail::Filling(args).view()...}, true);
}

std::string toDecimal(std::int64_t value);

// C's atoi as the table readers use it: optional white space, an optional
// sign, then digits up to the first other character; no digits give 0.
// Values beyond the 32-bit range are clamped instead of overflowing.
std::int32_t parseLeadingInt(std::string_view text);

} // namespace orvo::platform
