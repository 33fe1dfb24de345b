#pragma once

// The one symbol that the speech module (orvo-speech.so) exports and the
// tool looks up after loading it: runSpeechCommand behind a C name, so that
// dlsym finds it without a mangled name. The module and the tool are built
// together from the same sources and share the C++ standard library, so the
// arguments cross as the C++ objects they are. A change of their types or
// meaning takes a new name (_v2), which an older module does not have: it is
// then refused when loaded, not called with what it does not understand.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvo::cli {
struct Environment;

inline constexpr const char* kSpeechEntryName = "orvo_speech_command_v1";
} // namespace orvo::cli

extern "C" __attribute__((visibility("default"))) int
orvo_speech_command_v1(const std::vector<std::string>* args, const orvo::cli::Environment* env,
                       std::ostream* out, std::ostream* err);
