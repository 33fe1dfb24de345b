#include "convert/pagescript.h"

#include "convert/scripttexts.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

PageScript::PageScript()
    : objectTags(generateObjectTags()),
      declarations("\nDim Doll\nDim EndRequest\nDim BeginRequest\n"),
      // Half a second after the request stored in EndRequest has completed,
      // move on to the next page.
      requestCases(pf::fillTemplate(texts::kRequestCase, {"EndRequest"}) +
                   pf::fillTemplate(texts::kHalfSecondTimerCall, {"NextPage"}))
{
}

PageScript::~PageScript() = default;

std::string PageScript::generateObjectTags() const
{
    std::string tags;
    // The agent control.
    tags += "\n<OBJECT width=0 height=0\n";
    tags += "  CLASSID=\"clsid:D45FD31B-5C6E-11D1-9EC1-00C04FD7081F\" \n";
    tags += "  id=Agent>\n";
    tags += "</OBJECT>\n";
    // The text-to-speech engine.
    tags += "\n<OBJECT width=0 height=0\n";
    tags += "  CLASSID=\"clsid:B8F2846E-CE36-11D0-AC83-00C04FD97575\"\n";
    tags += "  id = TruVoice>\n";
    tags += "</OBJECT>\n";
    // The speech recognition engine, with the version its download must have.
    tags += "\n<OBJECT width=0 height=0\n";
    tags += "  CLASSID=\"CLSID:161FA781-A52C-11d0-8D7C-00A0C9034A7E\" \n";
    tags += "  CODEBASE=\"#VERSION=4,0,0,0\" \n";
    tags += "  id = MicrosoftSpeechRecognitionDownload>\n";
    tags += "</OBJECT>\n";
    return tags;
}

std::string PageScript::assembleScript() const
{
    std::string block;
    block += objectTags;
    block += "\n<SCRIPT LANGUAGE=VBScript>\n";
    block += declarations;
    block += loadCharacterSub;
    block += jumpSubs;
    block += stepSubs;
    block += voiceCommandSubs;
    // The control calls Agent_Command with the spoken command's name.
    block += "\nSub Agent_Command(ByVal UserInput)\n";
    block += "    Select Case UserInput.Name\n";
    block += commandCases;
    block += "    End Select\n";
    block += "End Sub\n\n";
    // ... and Agent_RequestComplete whenever a queued request has finished.
    block += "\nSub Agent_RequestComplete (ByVal Request)\n";
    block += "\tSelect Case Request\n";
    block += requestCases;
    block += "\tEnd Select\n";
    block += "End Sub\n\n";
    block += onLoadSub;
    block += nextPageSub;
    block += "\n</SCRIPT>\n";
    return block;
}

} // namespace orvo::convert
