#include "convert/converter.h"

#include <cerrno>
#include <future>
#include <optional>
#include <string>

#include "config/presentation.h"
#include "config/settings.h"
#include "convert/indexpage.h"
#include "convert/outputfolder.h"
#include "convert/pageconverter.h"
#include "convert/pagerun.h"
#include "convert/pagetemplates.h"
#include "convert/playerexport.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "platform/deferredmessages.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

constexpr const char* kCaption = "error when converting";
constexpr const char* kNoBody = "Can't find the body tag";
constexpr const char* kNoPages = "Can't find page tags under the body";
constexpr const char* kUnsafeFolder = "Unsafe output folder: %s";
// "File %s cannot be deleted".
constexpr const char* kCannotDelete = "ﾌｧｲﾙ%sが削除できない";

struct Cleanup {
    // The first file that could not be deleted, and why; empty when all went.
    std::string undeletable;
    int error = 0;
};

Cleanup cleanUp(const pf::OpenFolder& output)
{
    Cleanup cleanup;
    cleanup.undeletable = output.deletePlainFiles();
    cleanup.error = errno;
    return cleanup;
}

} // namespace

std::optional<std::string> outputFolderOf(const config::Presentation& presentation)
{
    const std::string& workingDir = presentation.settings().workingDir;
    if (!isSafeWorkingDir(workingDir)) {
        return std::nullopt;
    }
    return markupFolderOf(presentation.getMarkupPath()) + workingDir;
}

ConvertResult convert(config::Presentation& presentation, pf::Messages& messages,
                      const ConvertOptions& options)
{
    using Status = ConvertResult::Status;
    ConvertResult result;
    const auto stop = [&result](Status status) {
        result.status = status;
        return result;
    };
    const config::Settings& settings = presentation.settings();
    // The output folder is emptied below: refuse anything but one folder
    // level under the markup folder before touching the disk.
    const std::optional<std::string> outputFolder = outputFolderOf(presentation);
    if (!outputFolder) {
        pf::Message message;
        message.id = pf::ids::kUnsafeOutputFolder;
        message.text = pf::fillTemplate(kUnsafeFolder, settings.workingDir);
        message.caption = kCaption;
        messages.report(message);
        return stop(Status::UnsafeOutputFolder);
    }
    const std::string& folder = *outputFolder;
    result.outputFolder = folder;

    // Opened once: the clean-up and every file written go through this
    // descriptor, so that no link (the folder itself, or one planted inside
    // it) leads them into another folder.
    const pf::OpenFolder output = pf::OpenFolder::openOrCreate(folder);
    if (output.isLink()) {
        pf::Message message;
        message.id = pf::ids::kUnsafeOutputFolder;
        message.text = pf::fillTemplate(kUnsafeFolder, folder);
        message.caption = kCaption;
        messages.report(message);
        return stop(Status::UnsafeOutputFolder);
    }
    // The clean-up runs on a thread of its own while the tree is made ready
    // for the pages, which touches no file; nothing is written before it
    // has ended.
    std::future<Cleanup> cleanup =
        std::async(std::launch::async, [&output] { return cleanUp(output); });
    markup::TagNode* body = presentation.findTag("body");
    const markup::TagNode::Children* pages = body == nullptr ? nullptr : body->getChildren();
    pf::DeferredMessages pageMessages(messages);
    std::optional<PageConverter> converter;
    if (pages != nullptr) {
        // Every page gets its file name before the first is generated: jumps
        // read the name of their target page.
        for (std::size_t i = 1; i <= pages->size(); ++i) {
            (*pages)[i - 1]->setAttribute("realpagename",
                                          pf::fillTemplate(templates::kPageFileName, i));
        }
        converter.emplace(*presentation.getRoot(), presentation.getEmotionMap(), settings,
                          markupFolderOf(presentation.getMarkupPath()), pageMessages,
                          options.playerScript.has_value(), &presentation.source(),
                          presentation.pageContents());
    }
    const Cleanup cleaned = cleanup.get();
    if (!cleaned.undeletable.empty()) {
        errno = cleaned.error;
        pf::reportFileError(messages, pf::ids::kUndeletableFile,
                            pf::fillLocalTemplate(kCannotDelete, cleaned.undeletable), kCaption,
                            cleaned.undeletable, pf::lastSystemReason());
        return stop(Status::UndeletableFile);
    }
    // The pages survive without these resources: a failed copy is not
    // reported.
    static_cast<void>(output.copyIn(settings.settingDir + settings.previousImage, "previous.gif"));
    static_cast<void>(output.copyIn(settings.settingDir + settings.nextImage, "next.gif"));
    static_cast<void>(
        output.copyIn(settings.settingDir + settings.debugFrameFile, "DebugFrame.html"));
    if (options.playerScript) {
        // Unlike the resources above, pages that load a runtime that is not
        // there would not play: stop.
        if (!output.writeNewFile(kPlayerFileName, *options.playerScript)) {
            pf::reportCannotOpen(messages, output.pathOf(kPlayerFileName),
                                 pf::texts::kWriteOutError);
            return stop(Status::PlayerNotWritten);
        }
    }
    if (body == nullptr) {
        messages.report(markup::tagMessage(&presentation.source(), markup::TagNode::kNoOffset,
                                           pf::ids::kNoBody, kNoBody, kCaption));
        return stop(Status::NoBody);
    }
    if (pages == nullptr) {
        messages.report(markup::tagMessage(&presentation.source(), *body, pf::ids::kNoPages,
                                           kNoPages, kCaption));
        return stop(Status::NoPages);
    }
    result.pageCount = pages->size();
    if (!writeIndexPage(output, static_cast<int>(pages->size()), messages)) {
        ++result.problems;
    }
    convertPages(*converter, *pages, presentation.pageContents(), output, pageMessages, options,
                 result);
    if (result.status == Status::Cancelled) {
        return result;
    }
    presentation.releaseTree();
    return result;
}

} // namespace orvo::convert
