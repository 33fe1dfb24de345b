#pragma once

// The voices that espeak-ng has installed, for `orvo voices` and for
// choosing one by name.

#include <string>
#include <vector>

namespace orvo::speech {

struct VoiceInfo {
    std::string name;       // "English (America)"
    std::string identifier; // "gmw/en-US": what SpeakOptions::voice takes, like the language
    std::string language;   // "en-us": the first language the voice speaks
};

// Sorted by language; empty when espeak-ng did not start.
std::vector<VoiceInfo> installedVoices();

} // namespace orvo::speech
