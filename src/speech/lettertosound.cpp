#include "speech/lettertosound.h"

#include <array>
#include <cctype>
#include <string>

namespace orvo::speech {

namespace {

struct Rule {
    std::string_view letters;
    std::string_view phones;
};

// Longer groups first: the first rule that matches at a position wins.
constexpr std::array kRules{
    Rule{"tion", "SH AH N"}, Rule{"sion", "ZH AH N"}, Rule{"ough", "AO"}, Rule{"augh", "AO"},
    Rule{"eigh", "EY"},      Rule{"tch", "CH"},       Rule{"igh", "AY"},  Rule{"sch", "S K"},
    Rule{"ch", "CH"},        Rule{"sh", "SH"},        Rule{"th", "TH"},   Rule{"ph", "F"},
    Rule{"wh", "W"},         Rule{"ck", "K"},         Rule{"ng", "NG"},   Rule{"qu", "K W"},
    Rule{"ee", "IY"},        Rule{"ea", "IY"},        Rule{"oo", "UW"},   Rule{"ou", "AW"},
    Rule{"ow", "OW"},        Rule{"oi", "OY"},        Rule{"oy", "OY"},   Rule{"ai", "EY"},
    Rule{"ay", "EY"},        Rule{"au", "AO"},        Rule{"aw", "AO"},   Rule{"ie", "IY"},
    Rule{"ei", "EY"},        Rule{"ey", "EY"},        Rule{"ue", "UW"},   Rule{"ew", "UW"},
    Rule{"oa", "OW"},        Rule{"ar", "AA R"},      Rule{"or", "AO R"}, Rule{"er", "ER"},
    Rule{"ir", "ER"},        Rule{"ur", "ER"},
};

constexpr std::array<std::string_view, 26> kLetters{
    "AE", "B",  "K", "D", "EH", "F", "G", "HH", "IH", "JH", "K",   "L",  "M",
    "N",  "AA", "P", "K", "R",  "S", "T", "AH", "V",  "W",  "K S", "IH", "Z"};

// "Long" vowels, as before a final silent e (name, time, home, tune).
constexpr std::array<std::string_view, 5> kLongVowels{"EY", "IY", "AY", "OW", "UW"};

constexpr std::array<std::string_view, 10> kDigits{"Z IH R OW", "W AH N", "T UW",     "TH R IY",
                                                   "F AO R",    "F AY V", "S IH K S", "S EH V AH N",
                                                   "EY T",      "N AY N"};

bool isVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

int vowelIndex(char c)
{
    switch (c) {
    case 'a':
        return 0;
    case 'e':
        return 1;
    case 'i':
        return 2;
    case 'o':
        return 3;
    default:
        return 4;
    }
}

} // namespace

Phones lettersToSound(std::string_view word)
{
    std::string letters;
    Phones phones;
    const auto flushLetters = [&] {
        // A final e after a consonant is silent and lengthens the vowel before
        // that consonant (a lone vowel, as in "name", not "tree").
        std::size_t longVowel = std::string::npos;
        std::size_t end = letters.size();
        if (end >= 3 && letters[end - 1] == 'e' && !isVowel(letters[end - 2]) &&
            isVowel(letters[end - 3]) && (end < 4 || !isVowel(letters[end - 4]))) {
            longVowel = end - 3;
            --end;
        }
        std::size_t at = 0;
        while (at < end) {
            const std::string_view rest = std::string_view(letters).substr(at, end - at);
            bool matched = false;
            for (const Rule& rule : kRules) {
                if (rest.substr(0, rule.letters.size()) == rule.letters) {
                    appendPhones(phones, rule.phones);
                    at += rule.letters.size();
                    matched = true;
                    break;
                }
            }
            if (matched) {
                continue;
            }
            const char c = letters[at];
            const char next = at + 1 < end ? letters[at + 1] : '\0';
            if (at == longVowel) {
                appendPhones(phones, kLongVowels[static_cast<std::size_t>(vowelIndex(c))]);
            } else if ((c == next && !isVowel(c)) ||
                       (c == 'e' && at + 1 == end && at > 0 && phones.size() > 1)) {
                // Nothing said: a doubled consonant is said once, and a final
                // e of a longer word is silent ("live", "come").
            } else if (c == 'c' && (next == 'e' || next == 'i' || next == 'y')) {
                appendPhones(phones, "S");
            } else if (c == 'y') {
                appendPhones(phones, at == 0 ? "Y" : (at + 1 == end ? "IY" : "IH"));
            } else {
                appendPhones(phones, kLetters[static_cast<std::size_t>(c - 'a')]);
            }
            ++at;
        }
        letters.clear();
    };
    for (const char raw : word) {
        const auto byte = static_cast<unsigned char>(raw);
        if (std::isalpha(byte) != 0 && byte < 0x80) {
            letters.push_back(static_cast<char>(std::tolower(byte)));
        } else if (std::isdigit(byte) != 0) {
            flushLetters();
            appendPhones(phones, kDigits[static_cast<std::size_t>(byte - '0')]);
        }
    }
    flushLetters();
    return phones;
}

} // namespace orvo::speech
