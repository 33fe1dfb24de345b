#include "speech/kanaphones.h"

#include <array>
#include <string>

namespace orvo::speech {

namespace {

struct Kana {
    char32_t code;
    std::string_view consonant; // phones before the vowel, "" for none
    char vowel;                 // a i u e o, or 0 for a mora without vowel
};

constexpr std::array kKana{
    Kana{U'ア', "", 'a'},   Kana{U'イ', "", 'i'},   Kana{U'ウ', "", 'u'},   Kana{U'エ', "", 'e'},
    Kana{U'オ', "", 'o'},   Kana{U'カ', "K", 'a'},  Kana{U'キ', "K", 'i'},  Kana{U'ク', "K", 'u'},
    Kana{U'ケ', "K", 'e'},  Kana{U'コ', "K", 'o'},  Kana{U'ガ', "G", 'a'},  Kana{U'ギ', "G", 'i'},
    Kana{U'グ', "G", 'u'},  Kana{U'ゲ', "G", 'e'},  Kana{U'ゴ', "G", 'o'},  Kana{U'サ', "S", 'a'},
    Kana{U'シ', "SH", 'i'}, Kana{U'ス', "S", 'u'},  Kana{U'セ', "S", 'e'},  Kana{U'ソ', "S", 'o'},
    Kana{U'ザ', "Z", 'a'},  Kana{U'ジ', "JH", 'i'}, Kana{U'ズ', "Z", 'u'},  Kana{U'ゼ', "Z", 'e'},
    Kana{U'ゾ', "Z", 'o'},  Kana{U'タ', "T", 'a'},  Kana{U'チ', "CH", 'i'}, Kana{U'ツ', "T S", 'u'},
    Kana{U'テ', "T", 'e'},  Kana{U'ト', "T", 'o'},  Kana{U'ダ', "D", 'a'},  Kana{U'ヂ', "JH", 'i'},
    Kana{U'ヅ', "Z", 'u'},  Kana{U'デ', "D", 'e'},  Kana{U'ド', "D", 'o'},  Kana{U'ナ', "N", 'a'},
    Kana{U'ニ', "N", 'i'},  Kana{U'ヌ', "N", 'u'},  Kana{U'ネ', "N", 'e'},  Kana{U'ノ', "N", 'o'},
    Kana{U'ハ', "HH", 'a'}, Kana{U'ヒ', "HH", 'i'}, Kana{U'フ', "F", 'u'},  Kana{U'ヘ', "HH", 'e'},
    Kana{U'ホ', "HH", 'o'}, Kana{U'バ', "B", 'a'},  Kana{U'ビ', "B", 'i'},  Kana{U'ブ', "B", 'u'},
    Kana{U'ベ', "B", 'e'},  Kana{U'ボ', "B", 'o'},  Kana{U'パ', "P", 'a'},  Kana{U'ピ', "P", 'i'},
    Kana{U'プ', "P", 'u'},  Kana{U'ペ', "P", 'e'},  Kana{U'ポ', "P", 'o'},  Kana{U'マ', "M", 'a'},
    Kana{U'ミ', "M", 'i'},  Kana{U'ム', "M", 'u'},  Kana{U'メ', "M", 'e'},  Kana{U'モ', "M", 'o'},
    Kana{U'ヤ', "Y", 'a'},  Kana{U'ユ', "Y", 'u'},  Kana{U'ヨ', "Y", 'o'},  Kana{U'ラ', "R", 'a'},
    Kana{U'リ', "R", 'i'},  Kana{U'ル', "R", 'u'},  Kana{U'レ', "R", 'e'},  Kana{U'ロ', "R", 'o'},
    Kana{U'ワ', "W", 'a'},  Kana{U'ヰ', "", 'i'},   Kana{U'ヱ', "", 'e'},   Kana{U'ヲ', "", 'o'},
    Kana{U'ヴ', "V", 'u'},  Kana{U'ン', "N", 0},
};

std::string_view vowelPhone(char vowel)
{
    switch (vowel) {
    case 'a':
        return "AA";
    case 'i':
        return "IY";
    case 'u':
        return "UW";
    case 'e':
        return "EH";
    default:
        return "OW";
    }
}

struct Mora {
    std::string consonant;
    char vowel;
};

char32_t decodeUtf8(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xE0 && lead < 0xF0 && at + 3 <= text.size()) {
        const char32_t c = (char32_t{lead} & 0x0Fu) << 12 |
                           (static_cast<unsigned char>(text[at + 1]) & 0x3Fu) << 6 |
                           (static_cast<unsigned char>(text[at + 2]) & 0x3Fu);
        at += 3;
        return c;
    }
    ++at;
    return 0;
}

// A small ャュョ (or ァィゥェォ) after a mora: キャ K Y AA, シャ SH AA,
// ファ F AA, ティ T IY.
void modify(std::vector<Mora>& morae, char32_t small)
{
    char vowel = 0;
    bool palatal = false;
    switch (small) {
    case U'ャ':
        vowel = 'a', palatal = true;
        break;
    case U'ュ':
        vowel = 'u', palatal = true;
        break;
    case U'ョ':
        vowel = 'o', palatal = true;
        break;
    case U'ァ':
        vowel = 'a';
        break;
    case U'ィ':
        vowel = 'i';
        break;
    case U'ゥ':
        vowel = 'u';
        break;
    case U'ェ':
        vowel = 'e';
        break;
    case U'ォ':
        vowel = 'o';
        break;
    case U'ヮ':
        vowel = 'a';
        break;
    default:
        return;
    }
    if (morae.empty() || morae.back().vowel == 0) {
        morae.push_back({palatal ? "Y" : "", vowel});
        return;
    }
    Mora& last = morae.back();
    const std::string& c = last.consonant;
    if (palatal && c != "SH" && c != "CH" && c != "JH" && c != "Y") {
        last.consonant += c.empty() ? "Y" : " Y";
    } else if (!palatal && c.empty() && last.vowel == 'u') {
        last.consonant = "W"; // ウィ, ウェ, ウォ
    }
    last.vowel = vowel;
}

} // namespace

Phones kanaToPhones(std::string_view reading)
{
    std::vector<Mora> morae;
    for (std::size_t at = 0; at < reading.size();) {
        char32_t c = decodeUtf8(reading, at);
        if (c >= U'ぁ' && c <= U'ゖ') {
            c += U'ァ' - U'ぁ'; // hiragana as katakana: MeCab leaves unknown words as written
        }
        bool found = false;
        for (const Kana& kana : kKana) {
            if (kana.code == c) {
                morae.push_back({std::string(kana.consonant), kana.vowel});
                found = true;
                break;
            }
        }
        if (!found) {
            modify(morae, c);
        }
    }
    Phones phones;
    for (std::size_t i = 0; i < morae.size(); ++i) {
        const Mora& mora = morae[i];
        if (mora.vowel == 0) {
            // ン: m before a lip consonant, ng before a velar, else n.
            const std::string next = i + 1 < morae.size() ? morae[i + 1].consonant : "";
            const char first = next.empty() ? '\0' : next[0];
            phones.emplace_back(first == 'B' || first == 'P' || first == 'M' ? "M"
                                : first == 'K' || first == 'G'               ? "NG"
                                                                             : "N");
            continue;
        }
        appendPhones(phones, mora.consonant);
        phones.emplace_back(vowelPhone(mora.vowel));
    }
    return phones;
}

} // namespace orvo::speech
