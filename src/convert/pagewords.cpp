#include "convert/pagewords.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/codepage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

void PageWords::checkAt(std::string_view page, std::size_t i)
{
    unsigned forms = kFirstBytes.forms[static_cast<unsigned char>(page[i])];
    while (forms != 0) {
        const auto f = static_cast<std::size_t>(std::countr_zero(forms));
        forms &= forms - 1;
        const std::string_view form = kForms[f];
        if (page.size() - i >= form.size() &&
            std::memcmp(page.data() + i, form.data(), form.size()) == 0) {
            m_hits[f].push_back(i);
        }
    }
}

void PageWords::index(std::string_view page)
{
    for (std::vector<std::size_t>& hits : m_hits) {
        hits.clear();
    }
    m_next.fill(0);
    m_lineFeeds.clear();
    m_nextLineFeed = 0;
    const char* const data = page.data();
    const std::size_t size = page.size();
    if (pf::activeCodePage() == pf::CodePage::ShiftJis) {
        // A double-byte character is stepped over whole: its second byte may
        // look like a letter.
        for (std::size_t i = 0; i < size;) {
            if (data[i] == '\n') {
                m_lineFeeds.push_back(i);
            } else if (i + 1 < size && kFirstBytes.beginsAForm(data + i)) {
                checkAt(page, i);
            }
            i += static_cast<unsigned char>(data[i]) >= 0x80
                     ? pf::charLength(page, i, pf::CodePage::ShiftJis)
                     : 1;
        }
        return;
    }
    // In UTF-8 a byte of a multibyte character is never one that a form
    // begins with, so every byte may be looked at.
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen positions at a time: the two bytes at each, with the letters'
    // case bit set, are compared with the beginnings of the words ("ba",
    // "sr", "<b", "</"); the few positions that pass are looked at closely.
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i b = _mm_set1_epi8('b');
    const __m128i a = _mm_set1_epi8('a');
    const __m128i s = _mm_set1_epi8('s');
    const __m128i r = _mm_set1_epi8('r');
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (; i + 17 <= size; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        auto lineFeeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)));
        while (lineFeeds != 0) {
            m_lineFeeds.push_back(i + static_cast<std::size_t>(std::countr_zero(lineFeeds)));
            lineFeeds &= lineFeeds - 1;
        }
        const __m128i first = _mm_or_si128(bytes, caseBit);
        const __m128i second =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1)), caseBit);
        const __m128i ba = _mm_and_si128(_mm_cmpeq_epi8(first, b), _mm_cmpeq_epi8(second, a));
        const __m128i sr = _mm_and_si128(_mm_cmpeq_epi8(first, s), _mm_cmpeq_epi8(second, r));
        const __m128i tag =
            _mm_and_si128(_mm_cmpeq_epi8(first, lt),
                          _mm_or_si128(_mm_cmpeq_epi8(second, b), _mm_cmpeq_epi8(second, slash)));
        auto candidates =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(ba, sr), tag)));
        while (candidates != 0) {
            const auto bit = static_cast<std::size_t>(std::countr_zero(candidates));
            candidates &= candidates - 1;
            if (kFirstBytes.beginsAForm(data + i + bit)) {
                checkAt(page, i + bit);
            }
        }
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\n') {
            m_lineFeeds.push_back(i);
        } else if (i + 1 < size && kFirstBytes.beginsAForm(data + i)) {
            checkAt(page, i);
        }
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

std::size_t PageWords::nextLineFeed(std::size_t from)
{
    while (m_nextLineFeed < m_lineFeeds.size() && m_lineFeeds[m_nextLineFeed] < from) {
        ++m_nextLineFeed;
    }
    return m_nextLineFeed < m_lineFeeds.size() ? m_lineFeeds[m_nextLineFeed] : pf::npos;
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
