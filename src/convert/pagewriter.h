#pragma once

// Writes a page file: the page's source page (its "ref", relative to the
// markup folder), line by line, with relative image references moved one
// folder up (the page file lies one level below the markup folder), the
// navigation bar behind the body start tag and the script block in front of
// "</head>". The file is written with CR LF line ends and no character set
// conversion.

#include <cstddef>
#include <string>
#include <string_view>

#include "convert/pagefilebuilder.h"
#include "platform/files.h"

namespace orvo::markup {
class TagNode;
}
namespace orvo::platform {
class Messages;
class OpenFolder;
} // namespace orvo::platform

namespace orvo::convert {

class PageScript;

// The position of the all-upper-case form of word in line, else of its
// all-lower-case form; npos when neither occurs. Mixed-case forms are not
// found, and an upper-case match wins over an earlier lower-case one.
std::size_t findEitherCase(std::string_view line, std::string_view word);

// Puts "../" in front of the value of the line's image attribute: the first
// "background", or else the first "src" (each upper or lower case, as
// findEitherCase finds it). Only when the word is followed, after optional
// blanks, by "=" and a value (in double quotes, single quotes or none), and
// the value does not begin with "http"; otherwise the line stays as it is.
void rewriteImageReference(std::string& line);

// Writes page files one after another, as writePage below does, with
// storage that is kept from page to page: each source page is read with one
// read, each page file is built in one buffer with its CR LF line ends and
// written with one write. The words the insertions hang on are found in one
// pass over the whole page (see pagewords.h) rather than line by line.
class PageWriter {
public:
    // markupFolder ends with "/" or is empty; the page files go to
    // markupFolder + workingDir. behindScriptBlock as for writePage; it must
    // outlive the writer.
    PageWriter(std::string markupFolder, const std::string& workingDir,
               platform::Messages& messages, std::string_view behindScriptBlock = {});

    // From now on the page files go into this opened folder, as new files
    // (see platform::OpenFolder); it must outlive the writer.
    void writeInto(const platform::OpenFolder& output) { m_output = &output; }

    bool write(const markup::TagNode& page, int i, const PageScript& script);

    // The first half of write: reads the page's source page and builds the
    // page file into `file`, for a caller that writes it itself. False after
    // the error box of a source page that cannot be read.
    bool buildFile(const markup::TagNode& page, const PageScript& script, std::string& file);

    // What buildFile does on the caller's thread, for a caller that builds
    // the file elsewhere (see buildPageFile): reads the page's source page
    // and takes the parts of the script that go into the file. False after
    // the error box of a source page that cannot be read.
    bool prepare(const markup::TagNode& page, const PageScript& script, PreparedPage& prepared);

private:
    std::string m_markupFolder;
    std::string m_outputFolder;
    std::string_view m_behindScriptBlock;
    platform::Messages& m_messages;
    const platform::OpenFolder* m_output = nullptr;
    PreparedPage m_prepared;
    std::string m_sourcePath;
    std::string m_targetPath;
    std::string m_targetName;
    std::string m_page;
};

// Reads markupFolder + the page's "ref" (backslashes taken as "/"; only a
// .htm or .html file inside the markup folder's tree, see sourcepage.h) and
// writes markupFolder + workingDir + "<i>.html". False after an error box
// when the source cannot be read or the page file cannot be written.
// behindScriptBlock goes wherever the script block goes, right behind it
// (the line that loads the agent runtime in an export that plays by itself);
// empty for the plain page file.
bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const std::string& workingDir, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock = {});

// The same, writing "<i>.html" as a new file into the opened output folder,
// as a conversion does (see platform::OpenFolder).
bool writePage(const markup::TagNode& page, const std::string& markupFolder,
               const platform::OpenFolder& output, int i, const PageScript& script,
               platform::Messages& messages, std::string_view behindScriptBlock = {});

} // namespace orvo::convert
