#pragma once

// The pages of a conversion, one after another: the conversion's thread
// generates each page's script and reads its source page, a second thread
// builds and writes its file (see PageFileQueue). What a page has to say
// waits with the page until its file is written, so that the messages keep
// the order of the pages; the page files are counted in the result.

#include "convert/converter.h"
#include "markup/tagnode.h"

namespace orvo::markup {
class PageContents;
}

namespace orvo::platform {
class DeferredMessages;
class OpenFolder;
} // namespace orvo::platform

namespace orvo::convert {

class PageConverter;

// Converts every page of `pages` through `converter`, whose messages go to
// `pageMessages` (which hands them on to the conversion's messages), into
// the opened output folder. Fills in pagesWritten and problems, and says
// Cancelled when options.cancelRequested stopped it. With `contents`, the
// pages were parsed by page: each gets its tags for the time it is generated.
void convertPages(PageConverter& converter, const markup::TagNode::Children& pages,
                  markup::PageContents* contents, const platform::OpenFolder& output,
                  platform::DeferredMessages& pageMessages, const ConvertOptions& options,
                  ConvertResult& result);

} // namespace orvo::convert
