// The synthesizer on arbitrary text: speech tags, code points and control
// bytes that no author would type, in either language and with each voice
// style, must give speech or a clean failure, never a fault. The text reaches
// espeak-ng, so this target also watches what the synthesizer hands it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzzsupport.h"
#include "speech/synthesizer.h"

namespace fz = orvo::fuzz;
namespace sp = orvo::speech;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    // Long texts only make the run slow: the faults are in short ones.
    if (input.bytes.size() > 400) {
        return 0;
    }
    static sp::Synthesizer synthesizer;
    if (!synthesizer.ok()) {
        return 0;
    }
    sp::SpeakOptions options;
    // Bit 2 of the options byte: the text is read as Japanese whatever it holds.
    if ((data[0] & 4) != 0) {
        options.language = sp::Language::Japanese;
    }
    sp::Speech speech;
    if (synthesizer.synthesize(input.bytes, options, speech)) {
        fz::require(speech.sampleRate == synthesizer.sampleRate(), "speech at the engine's rate");
        for (const sp::WordEvent& word : speech.words) {
            fz::require(word.textBegin <= word.textEnd && word.textEnd <= input.bytes.size(),
                        "word events point into the text");
            fz::require(word.startSample <= word.endSample &&
                            word.endSample <= speech.samples.size(),
                        "word events point into the speech");
        }
    }
    return 0;
}
