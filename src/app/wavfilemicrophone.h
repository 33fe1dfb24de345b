#pragma once

// A WAV file in place of the microphone: every recording hears the whole
// file, however long the key was held. An empty path is no microphone.

#include "app/microphone.h"

#include <string>
#include <utility>

namespace orvo::app {

class WavFileMicrophone final : public Microphone {
public:
    // `path` in the file system's encoding.
    explicit WavFileMicrophone(std::string path) : m_path(std::move(path)) {}

    bool available() override { return !m_path.empty(); }
    bool start() override { return available(); }
    // A file that cannot be read is a recording of nothing.
    speech::Utterance stop() override;

private:
    std::string m_path;
};

} // namespace orvo::app
