#include "cli/speechcommand.h"

#include "cli/hearcommand.h"
#include "cli/speakcommand.h"

namespace orvo::cli {

int runSpeechCommand(const std::vector<std::string>& args, const Environment& env,
                     std::ostream& out, std::ostream& err)
{
    const std::string& command = args.front();
    if (command == "hear") {
        return runHear(args, out, err);
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "speak") {
        return runSpeak(rest, env, out, err);
    }
    return runVoices(rest, out, err);
}

} // namespace orvo::cli
