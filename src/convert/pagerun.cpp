#include "convert/pagerun.h"

#include <cerrno>

#include "convert/pageconverter.h"
#include "convert/pagefilebuilder.h"
#include "convert/pagefilequeue.h"
#include "convert/pagetemplates.h"
#include "markup/pagecontents.h"
#include "platform/deferredmessages.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

void convertPages(PageConverter& converter, const markup::TagNode::Children& pages,
                  markup::PageContents* contents, const pf::OpenFolder& output,
                  pf::DeferredMessages& pageMessages, const ConvertOptions& options,
                  ConvertResult& result)
{
    PageFileQueue files(output);
    PageFileQueue::Done done;
    pageMessages.beforeQuestion([&files, &done] { files.finish(done); });
    // Once the user cancels (typically while a message of an earlier page is
    // shown), the pages built in the meantime say nothing more.
    bool cancelled = false;
    const auto cancelRequested = [&options, &cancelled] {
        cancelled = cancelled || (options.cancelRequested && options.cancelRequested());
        return cancelled;
    };
    pf::Messages& messages = pageMessages.target();
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
    const int pageCount = static_cast<int>(pages.size());
    for (int i = 1; i <= pageCount; ++i) {
        if (cancelRequested()) {
            result.status = ConvertResult::Status::Cancelled;
            break;
        }
        PageFileQueue::Page& page = files.next(done);
        page.number = i;
        pageMessages.holdIn(&page.messages);
        markup::TagNode& node = *pages[static_cast<std::size_t>(i - 1)];
        if (contents != nullptr) {
            contents->open(static_cast<std::size_t>(i - 1), node);
        }
        page.write = converter.preparePage(node, i, pageCount, page.prepared);
        if (contents != nullptr) {
            contents->close(node);
        }
        pageMessages.holdIn(nullptr);
        if (page.write && files.writerBehind()) {
            buildPageFile(page.prepared, page.bytes);
            page.built = true;
        }
        pf::appendTemplate(page.name, templates::kPageFileName, i);
        files.submit();
    }
    files.finish(done);
    pageMessages.beforeQuestion({});
}

} // namespace orvo::convert
