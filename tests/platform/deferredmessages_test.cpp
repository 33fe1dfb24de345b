#include "platform/deferredmessages.h"

#include <gtest/gtest.h>

namespace {

using orvo::platform::DeferredMessages;
using orvo::platform::Message;
using orvo::platform::RecordingMessages;

// Held messages come out in the order given, errors and reports mixed; a
// question first lets everything held elsewhere out, then its own list.
TEST(DeferredMessages, KeepOrderAndLetAQuestionThroughLast)
{
    RecordingMessages shown;
    DeferredMessages deferred(shown);
    DeferredMessages::List earlier;
    DeferredMessages::List current;
    deferred.beforeQuestion([&] { deferred.replay(earlier); });

    deferred.holdIn(&earlier);
    deferred.error("one", "c");
    Message report;
    report.text = "two";
    report.caption = "c";
    deferred.report(report);
    deferred.holdIn(&current);
    deferred.error("three", "c");
    EXPECT_EQ(shown.count(), 0U);

    shown.queueAnswer(true);
    EXPECT_TRUE(deferred.ask("four?", "c"));
    using Kind = RecordingMessages::Kind;
    const std::vector<RecordingMessages::Entry> expected = {{Kind::Error, "one", "c"},
                                                            {Kind::Error, "two", "c"},
                                                            {Kind::Error, "three", "c"},
                                                            {Kind::Question, "four?", "c"}};
    EXPECT_EQ(shown.entries(), expected);
    EXPECT_EQ(shown.reports().size(), 1U);
    EXPECT_TRUE(earlier.empty());
    EXPECT_TRUE(current.empty());

    deferred.holdIn(nullptr);
    deferred.error("five", "c");
    EXPECT_EQ(shown.entries().back().text, "five");
}

} // namespace
