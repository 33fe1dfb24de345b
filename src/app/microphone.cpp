#include "app/microphone.h"

#include "app/audiosourcemicrophone.h"
#include "app/wavfilemicrophone.h"

#include <QByteArray>
#include <QFile>

namespace orvo::app {

std::unique_ptr<Microphone> createMicrophone()
{
    constexpr const char* kStandIn = "VIEWORVO_MICROPHONE_WAV";
    if (qEnvironmentVariableIsSet(kStandIn)) {
        return std::make_unique<WavFileMicrophone>(
            QFile::decodeName(qgetenv(kStandIn)).toStdString());
    }
    return std::make_unique<AudioSourceMicrophone>();
}

} // namespace orvo::app
