#include "convert/indexpage.h"
#include "convert/outputfolder.h"

#include <gtest/gtest.h>

#include "platform/messages.h"
#include "support/tempdir.h"

namespace cv = orvo::convert;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;

TEST(OutputFolderPaths, MarkupFolderAndSafeWorkingDirs)
{
    EXPECT_EQ(cv::markupFolderOf("/home/u/show/talk.orv"), "/home/u/show/");
    EXPECT_EQ(cv::markupFolderOf("talk.orv"), "");
    EXPECT_EQ(cv::markupFolderOf("a/"), "a/");

    EXPECT_TRUE(cv::isSafeWorkingDir("html/"));
    EXPECT_TRUE(cv::isSafeWorkingDir("out put.d/"));
    for (const char* unsafe :
         {"", "/", "html", "./", "../", "/tmp/", "a/b/", "html//", "a\\b/", "..", "."}) {
        EXPECT_FALSE(cv::isSafeWorkingDir(unsafe)) << unsafe;
    }
}

TEST(IndexPage, TextAndWriteError)
{
    TempDir dir;
    RecordingMessages messages;
    cv::writeIndexPage(dir.file("debugMain.html"), 3, messages);
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dir.read("debugMain.html"),
              "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY  text =\"00000e\">\r\n"
              "<a href=\"1.html\" target=\"up_frame\"> 1 </a>"
              "<a href=\"2.html\" target=\"up_frame\"> 2 </a>"
              "<a href=\"3.html\" target=\"up_frame\"> 3 </a></BODY>\r\n</HTML>\r\n");

    const std::string bad = dir.file("missing/debugMain.html");
    cv::writeIndexPage(bad, 1, messages);
    ASSERT_EQ(messages.count(), 1U);
    EXPECT_EQ(messages.entries()[0].text, "ﾌｧｲﾙ" + bad + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(messages.entries()[0].caption, "書き出しｴﾗｰ");
}
