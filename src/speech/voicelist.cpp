#include "speech/voicelist.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>

#include "speech/espeakengine.h"

namespace orvo::speech {

std::vector<VoiceInfo> installedVoices()
{
    EspeakEngine& engine = espeakEngine();
    std::vector<VoiceInfo> voices;
    if (engine.sampleRate <= 0) {
        return voices;
    }
    std::lock_guard lock(engine.mutex);
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (; list != nullptr && *list != nullptr; ++list) {
        const espeak_VOICE& voice = **list;
        VoiceInfo info;
        info.name = voice.name != nullptr ? voice.name : "";
        info.identifier = voice.identifier != nullptr ? voice.identifier : "";
        // languages: a priority byte, then a NUL-terminated language name.
        if (voice.languages != nullptr && voice.languages[0] != '\0') {
            info.language = voice.languages + 1;
        }
        voices.push_back(std::move(info));
    }
    std::stable_sort(voices.begin(), voices.end(), [](const VoiceInfo& a, const VoiceInfo& b) {
        return a.language < b.language;
    });
    return voices;
}

} // namespace orvo::speech
