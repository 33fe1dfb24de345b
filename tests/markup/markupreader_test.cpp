#include "markup/markupreader.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstddef>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "markup/sourcemap.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"

namespace pf = orvo::platform;
using orvo::markup::readMarkup;
using orvo::markup::TagNode;
using orvo::test::TempDir;

namespace {

struct Read {
    TempDir dir;
    pf::RecordingMessages messages;
    std::unique_ptr<TagNode> root;

    // Reads `bytes` written as a markup file; the root must come back.
    std::string body(std::string_view bytes)
    {
        root = readMarkup(dir.write("doc.orv", bytes), messages);
        EXPECT_TRUE(messages.entries().empty());
        if (!root) {
            ADD_FAILURE() << "no root";
            return {};
        }
        EXPECT_EQ(root->name(), "orvo");
        EXPECT_EQ(root->level(), 1);
        EXPECT_EQ(root->getParent(), nullptr);
        EXPECT_EQ(root->attributeCount(), 0U);
        return std::string(root->content());
    }

    // Reads a path that cannot be read: no root and exactly the read-error box.
    void expectReadError(const std::string& path)
    {
        root = readMarkup(path, messages);
        EXPECT_EQ(root, nullptr);
        ASSERT_EQ(messages.count(), 1U);
        EXPECT_EQ(messages.entries()[0],
                  (pf::RecordingMessages::Entry{pf::RecordingMessages::Kind::Error,
                                                "ﾌｧｲﾙ" + path + "がｵｰﾌﾟﾝできない", "読み出しｴﾗｰ"}));
    }
};

} // namespace

TEST(MarkupReader, ClassifiesEveryLineByTheFirstRuleThatApplies)
{
    Read r;
    // Each numbered line says what becomes of it.
    EXPECT_EQ(r.body("<?xml version=\"1.0\"?>\n"          // declaration
                     "outside before the body\n"          // body not open yet
                     "</orvo>\n"                          // closes nothing
                     "  <orvo>  \r\n"                     // opens the body
                     "\t<body>  \r\n"                     // collected, trimmed
                     "<!-- a comment\n"                   // comment starts
                     "<speak>hidden</speak>\n"            // inside the comment
                     "still hidden --> even this\n"       // ends the comment
                     "<speak>good\n"                      // collected
                     "day</speak>\n"                      // joins without a gap
                     "<speak>a <?php in text?></speak>\n" // "<?" anywhere: dropped
                     "<play act=\"x\"/><!-- note -->\n"   // markup + comment: dropped
                     "</body>\n"                          //
                     "</orvo>\n"                          // closes
                     "after the body\n"                   // not collected
                     "<orvo>\n"                           // opens again
                     "<spot id=\"s\"/>\n"                 // collected
                     "</orvo>\n"
                     "trailing text"),
              "<body><speak>goodday</speak></body><spot id=\"s\"/>");
}

TEST(MarkupReader, RootTagLines)
{
    Read r;
    // Markup on the "<orvo>" line is lost with the line; a one-line document
    // leaves the body open for the lines that follow.
    EXPECT_EQ(r.body("<orvo><body>lost</body></orvo>\nkept\n"), "kept");
    // A comment line that also holds "<orvo>" does not open the body.
    EXPECT_EQ(r.body("<!-- <orvo> -->\n<body/>\n"), "");
    // Only "<orvo>" exactly, in lower case, is a root tag line.
    EXPECT_EQ(r.body("< orvo>\na\n</orvo>\n"), "");
    EXPECT_EQ(r.body("<ORVO>\na\n</ORVO>\n"), "");
    EXPECT_EQ(r.body("<orvo version=\"2\">\na\n</orvo>\n"), "");
    EXPECT_EQ(r.body("no root tag at all\n"), "");
    EXPECT_EQ(r.body(""), "");
}

TEST(MarkupReader, CommentsThatSpanLines)
{
    Read r;
    EXPECT_EQ(r.body("<orvo>\na\n<!--\n<orvo>\n</orvo>\n-->\nb\n</orvo>\n"), "ab");
    // "-->" ahead of "<!--" on the same line still counts as its end.
    EXPECT_EQ(r.body("<orvo>\na\n--> <!--\nb\n</orvo>\n"), "ab");
    // An unclosed comment drops the rest of the file.
    EXPECT_EQ(r.body("<orvo>\na\n<!-- open\nb\n</orvo>\n"), "a");
}

TEST(MarkupReader, FullWidthSpaceAtALineEndStaysInBothCodePages)
{
    Read r;
    // U+3000 in UTF-8, then the same character in Shift-JIS (0x81 0x40).
    EXPECT_EQ(r.body("<orvo>\n  x\xE3\x80\x80 \t\n\xE3\x80\x80y\n</orvo>\n"),
              "x\xE3\x80\x80\xE3\x80\x80y");
    pf::setActiveCodePage(pf::CodePage::ShiftJis);
    EXPECT_EQ(r.body("<orvo>\n  x\x81\x40 \t\n\x81\x40y\n</orvo>\n"), "x\x81\x40\x81\x40y");
    // A double-byte character whose trail byte is "<" cannot exist (trail bytes
    // are 0x40 and up), but one whose trail byte looks like "|" or "\" must not
    // hide a rule text that follows it.
    EXPECT_EQ(r.body("<orvo>\n\x83\x5C<?x?>\n\x95\x7C\n</orvo>\n"), "\x95\x7C");
    pf::setActiveCodePage(pf::CodePage::Utf8);
}

TEST(MarkupReader, BadInputIsReadAsBytesOrReported)
{
    Read r;
    // NUL bytes and binary are bytes like any other.
    const std::string nuls(4096, '\0');
    EXPECT_EQ(r.body("<orvo>\n" + nuls + "\n</orvo>\n"), nuls);
    std::string binary;
    for (int i = 0; i < 256; ++i) {
        binary.push_back(static_cast<char>(i));
    }
    // Its LF ends a line; the tab before it and the VT, FF and CR after it are
    // white space at a line's end or start, and go.
    EXPECT_EQ(r.body("<orvo>\n" + binary + "\n</orvo>\n"), binary.substr(0, 9) + binary.substr(14));
    EXPECT_EQ(r.body(binary + binary), "");

    // A lone CR is no line end.
    EXPECT_EQ(r.body("<orvo>\na\rb\r\n</orvo>"), "a\rb");
}

TEST(MarkupReader, FilesThatCannotBeOpened)
{
    {
        Read r;
        r.expectReadError(r.dir.file("missing.orv"));
    }
    {
        Read r;
        std::filesystem::create_directory(r.dir.file("folder.orv"));
        r.expectReadError(r.dir.file("folder.orv"));
    }
    {
        Read r;
        // A link to itself cannot be opened, even by root.
        std::filesystem::create_symlink(r.dir.file("loop.orv"), r.dir.file("loop.orv"));
        r.expectReadError(r.dir.file("loop.orv"));
    }
}

TEST(MarkupReader, FileWithoutReadPermission)
{
    {
        Read r;
        const std::string path = r.dir.write("locked.orv", "<orvo>\nx\n</orvo>\n");
        std::filesystem::permissions(path, std::filesystem::perms::none);
        if (::access(path.c_str(), R_OK) == 0) {
            GTEST_SKIP() << "running with rights that read any file";
        }
        r.expectReadError(path);
    }
}

TEST(MarkupReader, MessageIsInTheActiveCodePage)
{
    Read r;
    pf::setActiveCodePage(pf::CodePage::ShiftJis);
    const std::string path = r.dir.file("\x83\x65\x83\x58\x83\x67.orv"); // "テスト" in Shift-JIS
    r.root = readMarkup(path, r.messages);
    pf::setActiveCodePage(pf::CodePage::Utf8);
    ASSERT_EQ(r.messages.count(), 1U);
    // "ﾌｧｲﾙ", the path as given, "がｵｰﾌﾟﾝできない"; caption "読み出しｴﾗｰ".
    EXPECT_EQ(r.messages.entries()[0].text,
              "\xCC\xA7\xB2\xD9" + path +
                  "\x82\xAA\xB5\xB0\xCC\xDF\xDD\x82\xC5\x82\xAB\x82\xC8\x82\xA2");
    EXPECT_EQ(r.messages.entries()[0].caption, "\x93\xC7\x82\xDD\x8F\x6F\x82\xB5\xB4\xD7\xB0");
}

// Every body byte maps back to its line and column in the file: across
// comments and declarations, CR LF line ends, blank lines, and indents too
// wide for the packed form.
TEST(MarkupReader, SourceMapGivesLineAndColumnOfBodyBytes)
{
    TempDir dir;
    pf::RecordingMessages messages;
    orvo::markup::SourceMap map;
    const std::string wideIndent(70000, ' ');
    const std::string file = "<?xml?>\r\n<orvo>\r\n  <a>\r\n<!-- x\r\n y -->\r\n\r\n\t<b/>\r\n" +
                             wideIndent + "<c/>\r\n   <d/>  \r\n</orvo>\r\ntail\r\n";
    const auto root = readMarkup(dir.write("doc.orv", file), messages, &map);
    ASSERT_TRUE(root);
    const std::string_view body = root->content();
    ASSERT_EQ(body, "<a><b/><c/><d/>");
    EXPECT_EQ(map.lineCount(), 11U);
    const auto at = [&](std::string_view tag) { return map.positionOf(body.find(tag)); };
    EXPECT_EQ(at("<a>").line, 3U);
    EXPECT_EQ(at("<a>").column, 3U);
    EXPECT_EQ(at("a>").column, 4U);
    EXPECT_EQ(at("<b/>").line, 7U);
    EXPECT_EQ(at("<b/>").column, 2U);
    EXPECT_EQ(at("<c/>").line, 8U);
    EXPECT_EQ(at("<c/>").column, wideIndent.size() + 1);
    EXPECT_EQ(at("<d/>").line, 9U);
    EXPECT_EQ(at("<d/>").column, 4U);
    EXPECT_EQ(map.positionOf(body.size() - 1).column, 7U);

    // The map packs each line into 32 bits while the body's size allows and
    // keeps deep indents aside; past 4 GiB, or with too many deep indents, it
    // changes to 64 bits a line. Every line must be found in each form and
    // across a change.
    struct Line {
        std::size_t offset;
        std::size_t blanks;
    };
    const auto check = [](std::size_t bodyBytes, const std::vector<Line>& lines) {
        orvo::markup::SourceMap packed;
        packed.reserve(lines.size(), bodyBytes);
        for (const Line& line : lines) {
            packed.addBodyLine(line.offset, line.blanks);
        }
        ASSERT_EQ(packed.lineCount(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const orvo::markup::SourcePosition position = packed.positionOf(lines[i].offset + 1);
            ASSERT_EQ(position.line, i + 1) << "size " << bodyBytes;
            ASSERT_EQ(position.column, lines[i].blanks + 2) << "size " << bodyBytes;
        }
    };
    constexpr std::size_t kGiB = std::size_t{1} << 30;
    const auto linesFrom = [](std::size_t first, std::size_t count, auto blanksOf) {
        std::vector<Line> lines;
        for (std::size_t i = 0; i < count; ++i) {
            lines.push_back({first + 3 * i, blanksOf(i)});
        }
        return lines;
    };
    // A small body: blanks up to 16 bits in the entry, a few wider aside.
    check(4000, linesFrom(0, 1000, [](std::size_t i) { return i % 100 == 7 ? 70000 + i : i; }));
    // A body near 4 GiB leaves no bits for the blanks: every indented line
    // is kept aside until they are too many.
    check(3 * kGiB, linesFrom(3 * kGiB - 9000, 3000, [](std::size_t i) { return i % 3; }));
    // A body that outgrows the size it was announced with.
    std::vector<Line> grown = linesFrom(0, 500, [](std::size_t i) { return i % 40; });
    const std::vector<Line> far = linesFrom(5 * kGiB, 500, [](std::size_t i) { return i * 300; });
    grown.insert(grown.end(), far.begin(), far.end());
    check(1500, grown);
    // A body of 4 GiB or more, in 64 bits from the start.
    check(8 * kGiB, linesFrom(6 * kGiB, 500, [](std::size_t i) { return i * 200; }));
}

namespace {

// The reader's rules applied plainly, one search per rule on each line: the
// body, and for each of its bytes the line and column it was written at.
struct PlainRead {
    std::string body;
    std::vector<orvo::markup::SourcePosition> positions;
};

PlainRead readPlainly(std::string_view file)
{
    PlainRead read;
    bool open = false;
    bool inComment = false;
    std::size_t lineNumber = 0;
    for (std::size_t begin = 0; begin < file.size();) {
        const std::size_t lineFeed = file.find('\n', begin);
        const std::size_t end = lineFeed == std::string_view::npos ? file.size() : lineFeed;
        const std::string_view line = file.substr(begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        const bool endsComment = line.find("-->") != std::string_view::npos;
        if (inComment || line.find("<!--") != std::string_view::npos) {
            inComment = !endsComment;
        } else if (line.find("<?") != std::string_view::npos) {
        } else if (line.find("<orvo>") != std::string_view::npos) {
            open = true;
        } else if (line.find("</orvo>") != std::string_view::npos) {
            open = false;
        } else if (open) {
            std::size_t first = 0;
            std::size_t last = line.size();
            while (first < last && pf::isSpace(line[first])) {
                ++first;
            }
            while (last > first && pf::isSpace(line[last - 1])) {
                --last;
            }
            for (std::size_t i = first; i < last; ++i) {
                read.body.push_back(line[i]);
                read.positions.push_back({lineNumber, i + 1});
            }
        }
    }
    std::size_t front = 0;
    while (front < read.body.size() && pf::isSpace(read.body[front])) {
        ++front;
    }
    std::size_t back = read.body.size();
    while (back > front && pf::isSpace(read.body[back - 1])) {
        --back;
    }
    read.body = read.body.substr(front, back - front);
    read.positions = std::vector<orvo::markup::SourcePosition>(
        read.positions.begin() + static_cast<std::ptrdiff_t>(front),
        read.positions.begin() + static_cast<std::ptrdiff_t>(back));
    return read;
}

} // namespace

// The reader looks at sixteen bytes at a time: random lines put line feeds,
// markers and markers cut short at every place of those blocks, and the
// body and the position of each of its bytes must be what the rules give.
TEST(MarkupReader, AgreesWithThePlainRulesWhereverLinesAndMarkersFall)
{
    const std::vector<std::string_view> pieces = {
        "<a>",         "text",  "x",       " ",      "\t",
        "\r",          "<",     "-",       "--",     "<o",
        "<orv",        "orvo>", "</orvo",  "<!-",    "-->",
        "<!--",        "<?",    "</orvo>", "<orvo>", "<speak>words</speak>",
        "\xE3\x80\x80"};
    std::mt19937 random(20261207);
    TempDir dir;
    for (int document = 0; document < 60; ++document) {
        std::string file = "<orvo>\n";
        const std::size_t lines = 20 + random() % 200;
        for (std::size_t line = 0; line < lines; ++line) {
            file.append(random() % 4 == 0 ? random() % 40 : 0, ' ');
            const std::size_t count = random() % 12;
            for (std::size_t piece = 0; piece < count; ++piece) {
                // The markers that end the body or open a comment come
                // seldom, so that most lines are kept.
                const std::size_t pick = random() % (random() % 8 == 0 ? pieces.size() : 10);
                file.append(pieces[pick]);
            }
            if (random() % 3 != 0 || line + 1 < lines) {
                file.push_back('\n');
            }
        }
        const PlainRead expected = readPlainly(file);
        pf::RecordingMessages messages;
        orvo::markup::SourceMap map;
        const auto root = readMarkup(dir.write("doc.orv", file), messages, &map);
        ASSERT_TRUE(root);
        ASSERT_EQ(root->content(), expected.body) << "document " << document;
        for (std::size_t i = 0; i < expected.body.size(); ++i) {
            const orvo::markup::SourcePosition position = map.positionOf(i);
            ASSERT_EQ(position.line, expected.positions[i].line) << "document " << document;
            ASSERT_EQ(position.column, expected.positions[i].column) << "document " << document;
        }
    }
}
