#include "speech/pronunciationlexicon.h"

#include <fstream>
#include <sstream>

namespace orvo::speech {

void appendPhones(Phones& phones, std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        phones.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

bool PronunciationLexicon::load(const std::string& dictionaryPath,
                                const std::set<std::string>& words)
{
    m_entries.clear();
    std::ifstream in(dictionaryPath);
    if (!in) {
        return false;
    }
    if (words.empty()) {
        return true;
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find_first_of(" \t");
        if (space == std::string::npos) {
            continue;
        }
        std::string word = line.substr(0, space);
        // "word(2)" is the second pronunciation of "word".
        if (const std::size_t paren = word.find('('); paren != std::string::npos && paren > 0) {
            word.resize(paren);
        }
        if (words.count(word) == 0) {
            continue;
        }
        std::istringstream fields(line.substr(space));
        Phones phones;
        std::string phone;
        // A '#' starts a comment in some dictionaries.
        while (fields >> phone && phone[0] != '#') {
            phones.push_back(phone);
        }
        if (!phones.empty()) {
            m_entries[word].push_back(std::move(phones));
        }
    }
    return !in.bad();
}

const std::vector<Phones>& PronunciationLexicon::lookup(const std::string& word) const
{
    static const std::vector<Phones> none;
    const auto found = m_entries.find(word);
    return found == m_entries.end() ? none : found->second;
}

} // namespace orvo::speech
