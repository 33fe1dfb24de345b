#pragma once

// Where the words that a page file's insertions hang on lie in a source page:
// "background", "src", "<body" and "</head>", each in its all-upper-case and
// its all-lower-case form. One pass over the page finds every occurrence of
// all eight forms and every line feed, instead of one search through the
// page per form and one per line; a line then asks for the first occurrence
// of a form inside it.
//
// Matches begin on character boundaries of the active code page only, as
// platform::find reports them: a byte of a double-byte character never
// starts one. The storage is kept from page to page.

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace orvo::convert {

class PageWords {
public:
    enum Word : std::size_t { Background, Src, Body, HeadEnd, kWordCount };

    // Finds every occurrence in `page`; the answers below are about it.
    void index(std::string_view page);

    // The position of the upper-case form of word in page[begin, end), else of
    // its lower-case form; npos when neither occurs there. Lines must be asked
    // about in order; the range holds no line feed.
    std::size_t inLine(Word word, std::size_t begin, std::size_t end);

    static std::size_t length(Word word);

    // The first line feed at or after `from`, found in the same pass; npos
    // when there is none. Asked in order.
    std::size_t nextLineFeed(std::size_t from);

private:
    // Form 2 * word is the upper-case one, 2 * word + 1 the lower-case one.
    static constexpr std::size_t kFormCount = 2 * kWordCount;

    std::size_t firstFrom(std::size_t form, std::size_t begin);
    // Records the forms that begin at page[i].
    void checkAt(std::string_view page, std::size_t i);

    std::array<std::vector<std::size_t>, kFormCount> m_hits;
    std::array<std::size_t, kFormCount> m_next{};
    std::vector<std::size_t> m_lineFeeds;
    std::size_t m_nextLineFeed = 0;
};

} // namespace orvo::convert
