#include "convert/converter.h"

#include <cerrno>
#include <optional>
#include <string>

#include "config/presentation.h"
#include "config/settings.h"
#include "convert/indexpage.h"
#include "convert/outputfolder.h"
#include "convert/pageconverter.h"
#include "convert/pagefilequeue.h"
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
    const std::string undeletable = output.deletePlainFiles();
    if (!undeletable.empty()) {
        pf::reportFileError(messages, pf::ids::kUndeletableFile,
                            pf::fillLocalTemplate(kCannotDelete, undeletable), kCaption,
                            undeletable, pf::lastSystemReason());
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

    markup::TagNode* body = presentation.findTag("body");
    if (body == nullptr) {
        messages.report(markup::tagMessage(&presentation.source(), markup::TagNode::kNoOffset,
                                           pf::ids::kNoBody, kNoBody, kCaption));
        return stop(Status::NoBody);
    }
    const markup::TagNode::Children* pages = body->getChildren();
    if (pages == nullptr) {
        messages.report(markup::tagMessage(&presentation.source(), *body, pf::ids::kNoPages,
                                           kNoPages, kCaption));
        return stop(Status::NoPages);
    }
    result.pageCount = pages->size();
    const int pageCount = static_cast<int>(pages->size());
    if (!writeIndexPage(output, pageCount, messages)) {
        ++result.problems;
    }

    // Every page gets its file name before the first is generated: jumps read
    // the name of their target page.
    for (int i = 1; i <= pageCount; ++i) {
        (*pages)[static_cast<std::size_t>(i - 1)]->setAttribute(
            "realpagename", pf::fillTemplate(templates::kPageFileName, i));
    }

    // The pages' scripts are generated here and their files built and
    // written by a second thread.
    // What a page has to say waits in the page until its file is written, so
    // that the messages keep the order of the pages.
    PageFileQueue files(output);
    PageFileQueue::Done done;
    pf::DeferredMessages pageMessages(messages, [&files, &done] { files.finish(done); });
    // Once the user cancels (typically while a message of an earlier page is
    // shown), the pages built in the meantime say nothing more.
    bool cancelled = false;
    const auto cancelRequested = [&options, &cancelled] {
        cancelled = cancelled || (options.cancelRequested && options.cancelRequested());
        return cancelled;
    };
    done = [&](PageFileQueue::Page& page) {
        const bool quiet = cancelRequested();
        if (!quiet) {
            pageMessages.replay(page.messages);
        }
        if (!page.write) {
            ++result.problems;
        } else if (!page.written) {
            if (!quiet) {
                errno = page.error;
                pf::reportCannotOpen(messages, output.pathOf(page.name), pf::texts::kWriteOutError);
            }
            ++result.problems;
        } else {
            ++result.pagesWritten;
        }
        if (options.progress && !quiet) {
            options.progress(static_cast<std::size_t>(page.number), result.pageCount);
        }
    };
    PageConverter converter(*presentation.getRoot(), presentation.getEmotionMap(), settings,
                            markupFolderOf(presentation.getMarkupPath()), pageMessages,
                            options.playerScript.has_value(), &presentation.source());
    for (int i = 1; i <= pageCount; ++i) {
        if (cancelRequested()) {
            files.finish(done);
            result.status = ConvertResult::Status::Cancelled;
            return result;
        }
        PageFileQueue::Page& page = files.next(done);
        page.number = i;
        pageMessages.holdIn(&page.messages);
        page.write = converter.preparePage(*(*pages)[static_cast<std::size_t>(i - 1)], i, pageCount,
                                           page.prepared);
        pageMessages.holdIn(nullptr);
        pf::appendTemplate(page.name, templates::kPageFileName, i);
        files.submit();
    }
    files.finish(done);
    presentation.releaseTree();
    return result;
}

} // namespace orvo::convert
