#pragma once

// Script lines that more than one generator writes. Each "%s" or "%d" is filled
// with platform::fillTemplate.

namespace orvo::convert::texts {

// A case of Agent_RequestComplete: when the named request completes, call the
// named sub after a delay in milliseconds.
inline constexpr const char* kRequestCase = "\t\tCase %s\n";
inline constexpr const char* kTimerCall = "\t\t\tID = SetTimeout(\"%s\", %d)\n";
inline constexpr const char* kHalfSecondTimerCall = "\t\t\tID = SetTimeout(\"%s\", 500)\n";

// A request that does nothing visible; its completion event marks the point
// where everything queued before it has been played.
inline constexpr const char* kRestPoseRequest = "\tSet %s = Doll.Play(\"RestPose\")\n";

inline constexpr const char* kPlayLine = "\tDoll.Play \"%s\" \n";

inline constexpr const char* kEndSub = "End Sub\n\n";

} // namespace orvo::convert::texts
