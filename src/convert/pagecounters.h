#pragma once

// The numbers that name a page's generated subs, variables and voice
// commands. They start again from 0 on every page, so every page has a Step0.

namespace orvo::convert {

struct PageCounters {
    // Step subs and jump subs draw from one shared sequence.
    int step = 0;
    // JumpRequest variables.
    int jump = 0;
    // AddVoiceCommands subs and VoiceCommand names draw from one shared sequence.
    int voice = 0;
};

} // namespace orvo::convert
