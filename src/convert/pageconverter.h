#pragma once

// The page side of a conversion, for the conversion driver: made once per
// conversion over the parsed tree, it generates and writes one page at a time.
//
//     PageConverter pages(*root, emotionMap, settings, markupFolder, messages);
//     // every page has its "realpagename" before the first page is generated
//     for (int i = 1; i <= n; ++i) pages.convertPage(page(i), i, n);
//
// Construction indexes the tree (ids and the "agent" tag) in one walk, so the
// lookups of every page and jump are constant time. The tree must not gain or
// lose nodes, nor change an "id", while the converter is in use; the converter
// must not outlive the tree, the emotion map or the messages.

#include "convert/pagescript.h"
#include "convert/pagewriter.h"
#include "convert/stepgenerator.h"
#include "convert/treeindex.h"

#include <string>
#include <string_view>

#include "convert/forward.h"

namespace orvo::convert {

class PageConverter {
public:
    // markupFolder ends with "/" or is empty; the page files go to
    // markupFolder + settings.workingDir. With loadPlayer, every page loads
    // the agent runtime from beside it (kPlayerScriptLine behind its script
    // block); without, the page files are the plain conversion.
    // With `source` (the markup file and its map), messages about a tag name
    // its line and column. `pages` holds the tags inside the pages of a tree
    // parsed by page.
    PageConverter(markup::TagNode& root, const config::EmotionMap& emotions,
                  const config::Settings& settings, std::string markupFolder,
                  platform::Messages& messages, bool loadPlayer = false,
                  const markup::SourceFile* source = nullptr,
                  const markup::PageContents* pages = nullptr);

    // From now on the page files go into this opened folder, as new files
    // (a conversion's output folder, see platform::OpenFolder); it must
    // outlive the converter.
    void writeInto(const platform::OpenFolder& output) { m_writer.writeInto(output); }

    // Fills a fresh PageScript for page i (from 1) of n and writes the page
    // file "<i>.html". True when the page file was written; false after the
    // error box of a source page that cannot be read or a page file that
    // cannot be written. Messages about the character or a jump do not make it
    // fail: the page is written without the missing part.
    [[nodiscard]] bool convertPage(markup::TagNode& page, int i, int n);

    // convertPage up to the page file: generates the script and reads the
    // source page into `prepared`, for a caller that builds and writes the
    // file itself (see buildPageFile). False after the error box of a
    // source page that cannot be read.
    [[nodiscard]] bool preparePage(markup::TagNode& page, int i, int n, PreparedPage& prepared);

    // The same two stages, for a caller that wants to look at the script in
    // between. Generating the script always succeeds (what is missing is
    // reported and left out), so generatePageScript returns true.
    bool generatePageScript(markup::TagNode& page, PageScript& script, int i, int n);
    [[nodiscard]] bool writePage(const markup::TagNode& page, int i, const PageScript& script);

    const TreeIndex& index() const { return m_index; }

private:
    TreeIndex m_index;
    StepGenerator m_steps;
    PageWriter m_writer;
    PageScript m_script;
};

} // namespace orvo::convert
