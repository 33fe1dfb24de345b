#include "convert/converter.h"

#include <string>

#include "config/presentation.h"
#include "config/settings.h"
#include "convert/outputfolder.h"
#include "convert/pageconverter.h"
#include "convert/playerexport.h"
#include "markup/tagnode.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
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

bool convert(config::Presentation& presentation, pf::Messages& messages,
             const ConvertOptions& options)
{
    const config::Settings& settings = presentation.settings();
    const std::string markupFolder = markupFolderOf(presentation.getMarkupPath());
    // The output folder is emptied below: refuse anything but one folder
    // level under the markup folder before touching the disk.
    if (!isSafeWorkingDir(settings.workingDir)) {
        messages.error(pf::fillTemplate(kUnsafeFolder, {settings.workingDir}), kCaption);
        return false;
    }
    const std::string outputFolder = markupFolder + settings.workingDir;

    const RemoveResult removed = removeFolder(outputFolder);
    if (!removed.undeletable.empty()) {
        messages.error(pf::fillTemplate(pf::localText(kCannotDelete), {removed.undeletable}),
                       kCaption);
        return false;
    }
    createFolder(outputFolder);
    copyFile(settings.settingDir + settings.previousImage, outputFolder + "previous.gif");
    copyFile(settings.settingDir + settings.nextImage, outputFolder + "next.gif");
    copyFile(settings.settingDir + settings.debugFrameFile, outputFolder + "DebugFrame.html");
    if (options.playerScript) {
        // Unlike the resources above, which the pages survive without, pages
        // that load a runtime that is not there would not play: stop.
        const std::string target = outputFolder + std::string(kPlayerFileName);
        if (!writeFile(target, *options.playerScript)) {
            pf::reportCannotOpen(messages, target, pf::texts::kWriteOutError);
            return false;
        }
    }

    markup::TagNode* body = presentation.findTag("body");
    if (body == nullptr) {
        messages.error(kNoBody, kCaption);
        return false;
    }
    const markup::TagNode::Children* pages = body->getChildren();
    if (pages == nullptr) {
        messages.error(kNoPages, kCaption);
        return false;
    }
    const int pageCount = static_cast<int>(pages->size());
    writeIndexPage(outputFolder + "debugMain.html", pageCount, messages);

    // Every page gets its file name before the first is generated: jumps read
    // the name of their target page.
    for (int i = 1; i <= pageCount; ++i) {
        (*pages)[static_cast<std::size_t>(i - 1)]->setAttribute(
            "realpagename", pf::fillTemplate("%d.html", {pf::toDecimal(i)}));
    }

    PageConverter converter(*presentation.getRoot(), presentation.getEmotionMap(), settings,
                            markupFolder, messages, options.playerScript.has_value());
    for (int i = 1; i <= pageCount; ++i) {
        if (options.cancelRequested && options.cancelRequested()) {
            return false;
        }
        converter.convertPage(*(*pages)[static_cast<std::size_t>(i - 1)], i, pageCount);
        if (options.progress) {
            options.progress(static_cast<std::size_t>(i), static_cast<std::size_t>(pageCount));
        }
    }
    presentation.releaseTree();
    return true;
}

} // namespace orvo::convert
