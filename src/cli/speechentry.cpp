// The speech module's entry point (speechentry.h).

#include "cli/speechentry.h"

#include "cli/speechcommand.h"

extern "C" int orvo_speech_command_v1(const std::vector<std::string>* args,
                                      const orvo::cli::Environment* env, std::ostream* out,
                                      std::ostream* err)
{
    return orvo::cli::runSpeechCommand(*args, *env, *out, *err);
}
