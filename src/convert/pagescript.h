#pragma once

// The generated VBScript and HTML of one page, collected field by field by the
// generators and merged into the source page by the page writer. One is made
// for each page and dropped once the page file is written.
//
// Every text is bytes in the active code page, each line ended by a single
// line feed (the page writer turns them into CR LF on disk).

#include <string>

#include "convert/forward.h"

namespace orvo::convert {

class PageScript {
public:
    PageScript();
    virtual ~PageScript();

    // Back to the state of a fresh script, keeping the storage of every
    // field, so that a conversion fills one script page after page without
    // allocating.
    void reset();

    // The three zero-sized objects every page carries: the agent control (id
    // "Agent"), the text-to-speech engine and the speech recognition engine.
    std::string generateObjectTags() const;
    // The whole block that goes in front of "</head>": the object tags, then
    // the script with the fields in their fixed order inside the two event
    // handlers. Changes nothing.
    std::string assembleScript() const;
    // The same block, appended to `block` (whose storage may be reused).
    void appendScript(std::string& block) const;

    // The page character's emotion set in the emotion map; not owned, null
    // when the character is unknown or was never loaded.
    const config::CharacterEmotions* characterEmotions = nullptr;
    std::string objectTags;
    std::string declarations;
    std::string loadCharacterSub;
    std::string stepSubs;
    std::string jumpSubs;
    std::string voiceCommandSubs;
    std::string commandCases;
    std::string requestCases;
    std::string onLoadSub;
    std::string nextPageSub;
    std::string navigationBar;
};

} // namespace orvo::convert
