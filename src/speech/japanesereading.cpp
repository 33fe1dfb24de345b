#include "speech/japanesereading.h"

#include <mecab.h>

#include <algorithm>

namespace orvo::speech {

namespace {

// Field `index` of a comma-separated MeCab feature string; empty when there
// are fewer fields.
std::string_view featureField(std::string_view feature, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t comma = feature.find(',');
        if (comma == std::string_view::npos) {
            return {};
        }
        feature.remove_prefix(comma + 1);
    }
    return feature.substr(0, feature.find(','));
}

// The IPA dictionary's features: part of speech (4 fields), conjugation (2),
// base form, reading, pronunciation.
constexpr std::size_t kPronunciationField = 8;

} // namespace

struct JapaneseReading::Impl {
    mecab_t* mecab = nullptr;
    std::string error;
};

JapaneseReading::JapaneseReading() : impl_(std::make_unique<Impl>())
{
    impl_->mecab = mecab_new2("");
    if (impl_->mecab == nullptr) {
        const char* why = mecab_strerror(nullptr);
        impl_->error = std::string("MeCab cannot start (install mecab-ipadic-utf8): ") +
                       (why != nullptr ? why : "");
    }
}

JapaneseReading::~JapaneseReading()
{
    if (impl_->mecab != nullptr) {
        mecab_destroy(impl_->mecab);
    }
}

bool JapaneseReading::ok() const
{
    return impl_->mecab != nullptr;
}

const std::string& JapaneseReading::error() const
{
    return impl_->error;
}

bool JapaneseReading::read(SpeechPiece& piece)
{
    if (impl_->mecab == nullptr) {
        return false;
    }
    const std::string& text = piece.spoken;
    if (text.empty()) {
        return true;
    }
    const mecab_node_t* node = mecab_sparse_tonode2(impl_->mecab, text.data(), text.size());
    if (node == nullptr) {
        impl_->error = std::string("MeCab cannot read the text: ") + mecab_strerror(impl_->mecab);
        return false;
    }
    std::string reading;
    std::vector<Span> origin;
    std::size_t nextPause = 0;
    reading.reserve(text.size() * 2);
    origin.reserve(text.size() * 2);
    for (; node != nullptr; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE || node->length == 0) {
            continue;
        }
        const auto begin = static_cast<std::size_t>(node->surface - text.data());
        const std::size_t end = std::min(begin + node->length, text.size());
        const std::string_view surface(text.data() + begin, end - begin);
        std::string_view said =
            featureField(node->feature != nullptr ? node->feature : "", kPronunciationField);
        if (said.empty() || said == "*") {
            said = surface; // unknown words (names, Latin, digits) as written
        }
        const Span span{piece.origin[begin].begin, piece.origin[end - 1].end};
        if (!reading.empty()) {
            reading.push_back(' ');
            origin.push_back(span);
        }
        // A pause before this word comes before its reading.
        for (; nextPause < piece.pauses.size() && piece.pauses[nextPause].offset <= begin;
             ++nextPause) {
            piece.pauses[nextPause].offset = reading.size();
        }
        reading.append(said);
        origin.insert(origin.end(), said.size(), span);
    }
    for (; nextPause < piece.pauses.size(); ++nextPause) {
        piece.pauses[nextPause].offset = reading.size();
    }
    piece.spoken = std::move(reading);
    piece.origin = std::move(origin);
    return true;
}

} // namespace orvo::speech
