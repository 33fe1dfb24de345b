#include "convert/pagewords.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/codepage.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

constexpr std::array<std::string_view, 8> kForms = {
    "BACKGROUND", "background", "SRC", "src", "<BODY", "<body", "</HEAD>", "</head>",
};

// Every form is at least two bytes long. A position is looked at closely only
// when the two bytes there begin some form: in page text the first bytes
// alone ("s", "b", "<") are common, the pairs are not.
struct FirstBytes {
    // For each byte, the forms that begin with it, as bits.
    std::array<unsigned char, 256> forms{};
    // For each pair of bytes (the first in the low 8 bits), one bit: whether
    // some form begins with it.
    std::array<std::uint64_t, 65536 / 64> pairs{};

    constexpr FirstBytes()
    {
        for (std::size_t f = 0; f < kForms.size(); ++f) {
            const auto first = static_cast<unsigned char>(kForms[f][0]);
            const auto second = static_cast<unsigned char>(kForms[f][1]);
            forms[first] |= static_cast<unsigned char>(1U << f);
            const unsigned pair = first | (unsigned{second} << 8);
            pairs[pair / 64] |= std::uint64_t{1} << (pair % 64);
        }
    }

    bool beginsAForm(const char* at) const
    {
        const unsigned pair =
            static_cast<unsigned char>(at[0]) | (unsigned{static_cast<unsigned char>(at[1])} << 8);
        return ((pairs[pair / 64] >> (pair % 64)) & 1U) != 0;
    }
};

constexpr FirstBytes kFirstBytes;

} // namespace

std::size_t PageWords::length(Word word)
{
    return kForms[2 * static_cast<std::size_t>(word)].size();
}

void PageWords::index(std::string_view page)
{
    for (std::vector<std::size_t>& hits : m_hits) {
        hits.clear();
    }
    m_next.fill(0);
    // In UTF-8 a byte of a multibyte character is never one that a form
    // begins with, so every byte may be looked at; in Shift-JIS a
    // double-byte character is stepped over whole.
    const bool doubleBytes = pf::activeCodePage() == pf::CodePage::ShiftJis;
    const char* const data = page.data();
    const std::size_t size = page.size();
    for (std::size_t i = 0; i + 1 < size;) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (kFirstBytes.beginsAForm(data + i)) {
            unsigned forms = kFirstBytes.forms[byte];
            while (forms != 0) {
                const auto f = static_cast<std::size_t>(std::countr_zero(forms));
                forms &= forms - 1;
                const std::string_view form = kForms[f];
                if (size - i >= form.size() &&
                    std::memcmp(data + i, form.data(), form.size()) == 0) {
                    m_hits[f].push_back(i);
                }
            }
        }
        i += doubleBytes && byte >= 0x80 ? pf::charLength(page, i, pf::CodePage::ShiftJis) : 1;
    }
}

std::size_t PageWords::firstFrom(std::size_t form, std::size_t begin)
{
    const std::vector<std::size_t>& hits = m_hits[form];
    std::size_t& next = m_next[form];
    while (next < hits.size() && hits[next] < begin) {
        ++next;
    }
    return next < hits.size() ? hits[next] : pf::npos;
}

std::size_t PageWords::inLine(Word word, std::size_t begin, std::size_t end)
{
    const std::size_t upper = firstFrom(2 * static_cast<std::size_t>(word), begin);
    if (upper < end) {
        return upper;
    }
    const std::size_t lower = firstFrom(2 * static_cast<std::size_t>(word) + 1, begin);
    return lower < end ? lower : pf::npos;
}

} // namespace orvo::convert
