#include "app/wavfilemicrophone.h"

#include "speech/wavreader.h"

namespace orvo::app {

speech::Utterance WavFileMicrophone::stop()
{
    speech::Utterance utterance;
    std::string error;
    if (!speech::readWavFile(m_path, utterance, error)) {
        return {};
    }
    return utterance;
}

} // namespace orvo::app
