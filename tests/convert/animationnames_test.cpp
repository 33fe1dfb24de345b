#include "convert/animationnames.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"

using orvo::convert::AnimationNames;

// The names that the agent runtime resolves (resolveAnimationKey), checked
// against the list that the runtime exports at build time.
TEST(AnimationNames, ResolvesNamesAsTheRuntimeDoes)
{
    std::string list;
    ASSERT_TRUE(orvo::platform::readWholeFile(ORVO_ANIMATION_LIST, list));
    const AnimationNames names = AnimationNames::fromList(list);
    ASSERT_FALSE(names.empty());
    for (const char* known : {"Wave", " wave ", "RestPose", "GestureRightReturn", "LookLeftBlink",
                              "Congratulate_2", "Idle3_9", "Greeting", "Explain"}) {
        EXPECT_TRUE(names.knows(known)) << known;
    }
    for (const char* unknown : {"", "Moonwalk", "Return", "Hop", "Wave Hello", "Dance_2"}) {
        EXPECT_FALSE(names.knows(unknown)) << unknown;
    }
}
