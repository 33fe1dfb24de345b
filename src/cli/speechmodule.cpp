#include "cli/speechmodule.h"

#include <dlfcn.h>

#include <filesystem>
#include <ostream>

#include "cli/climessages.h"
#include "cli/speechentry.h"
#include "platform/files.h"

namespace orvo::cli {

namespace {

constexpr const char* kRemedy = ": build the target orvo_speechmodule, or reinstall ViewOrvo\n";

std::string lastLoadError()
{
    const char* reason = ::dlerror();
    return visibleControls(reason == nullptr ? std::string("unknown reason") : std::string(reason));
}

} // namespace

std::string findSpeechModule(const std::string& executablePath)
{
    if (executablePath.empty()) {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(executablePath).parent_path();
    const std::filesystem::path installation =
        (folder / ".." / "share" / "vieworvo").lexically_normal();
    if (platform::isFolder(installation.string())) {
        return (folder / ORVO_SPEECH_MODULE_DIR / kSpeechModuleFileName)
            .lexically_normal()
            .string();
    }
    return (folder / kSpeechModuleFileName).string();
}

int runSpeechModule(const std::string& modulePath, const std::vector<std::string>& args,
                    const Environment& env, std::ostream& out, std::ostream& err)
{
    if (modulePath.empty()) {
        err << "orvo: this program does not know where its speech module (" << kSpeechModuleFileName
            << ") lies\n";
        return kExitFailed;
    }
    // Never closed: the engines keep threads and exit handlers of their own,
    // and the process ends after the command anyway.
    void* module = ::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        err << "orvo: the speech module " << visibleControls(modulePath) << " cannot be loaded ("
            << lastLoadError() << ')' << kRemedy;
        return kExitFailed;
    }
    void* symbol = ::dlsym(module, kSpeechEntryName);
    if (symbol == nullptr) {
        err << "orvo: the speech module " << visibleControls(modulePath)
            << " is not the one of this program (" << lastLoadError() << ')' << kRemedy;
        return kExitFailed;
    }
    // dlsym hands functions out as data pointers; POSIX guarantees the cast.
    const auto entry = reinterpret_cast<decltype(&orvo_speech_command_v1)>(symbol);
    return entry(&args, &env, &out, &err);
}

} // namespace orvo::cli
