#pragma once

// Every line of generated HTML and VBScript, as named templates in the order
// in which they stand in the output: first the script block that goes in
// front of a page's "</head>", then the navigation bar behind its "<body>",
// then the index page of the debug mode. The generators only choose and fill
// these; nothing else writes page text.
//
// The texts are raw string literals and are byte-exact: the tabs in them are
// real tab characters and some lines end with a space (.editorconfig keeps
// both in this file). Each "%s" is filled with a text and each "%d" with a
// number, checked by the compiler (platform/textformat.h).

#include <string_view>

#include "platform/textformat.h"

namespace orvo::convert::templates {

using platform::Number;
using platform::Template;
using platform::Text;

// ---- The script block, in front of "</head>" ------------------------------

// The three zero-sized objects every page carries: the agent control (id
// "Agent"), the text-to-speech engine and the speech recognition engine with
// the version its download must have.
inline constexpr Template<> kObjectTags{R"(
<OBJECT width=0 height=0
  CLASSID="clsid:D45FD31B-5C6E-11D1-9EC1-00C04FD7081F" 
  id=Agent>
</OBJECT>

<OBJECT width=0 height=0
  CLASSID="clsid:B8F2846E-CE36-11D0-AC83-00C04FD97575"
  id = TruVoice>
</OBJECT>

<OBJECT width=0 height=0
  CLASSID="CLSID:161FA781-A52C-11d0-8D7C-00A0C9034A7E" 
  CODEBASE="#VERSION=4,0,0,0" 
  id = MicrosoftSpeechRecognitionDownload>
</OBJECT>
)"};

inline constexpr Template<> kScriptStart{R"(
<SCRIPT LANGUAGE=VBScript>
)"};

// The requests every page names, then one line per jump's request.
inline constexpr Template<> kDeclarations{R"(
Dim Doll
Dim EndRequest
Dim BeginRequest
)"};
inline constexpr Template<Text> kDeclaration{R"(DIM %s
)"};

// Loads the character (its id and the base name of its character file),
// sets its language to 0409, English, and shows it at the page's position.
inline constexpr Template<Text, Text, Text, Number, Number> kLoadCharacterSub{R"(
Sub LoadCharacter
	On Error Resume Next
	Set LoadRequestUNC = Agent.Characters.Load ("%s", "%s.acs")
	If LoadRequestUNC.Status <> 0 Then
		Alert "No character installed"
	Else
		Set Doll = Agent.Characters("%s")
		Doll.LanguageID = &H0409

		On Error Resume Next
		Doll.MoveTo %d,%d
		Doll.Show
	End If
End Sub
)"};

// A jump's sub: loads the target page.
inline constexpr Template<Text, Text> kJumpSub{R"(
Sub %s
	Location.Href = "%s"
End Sub

)"};

// A step sub (Step0, the response steps) or a voice command sub begins with
// this and ends with kEndSub.
inline constexpr Template<Text> kSubStart{R"(
Sub %s
)"};

// The action lines of a step. A pause before an action, in milliseconds.
inline constexpr Template<Number> kPauseLine{R"(	Doll.Speak(" \Pau=%d\ ")
)"};
// The speech prefix of the emotion (may be empty), then the text.
inline constexpr Template<Text, Text> kSpeakLine{R"(	Doll.Speak(" %s %s ")
)"};
inline constexpr Template<Text> kPlayLine{R"(	Doll.Play "%s" 
)"};
inline constexpr Template<Number, Number> kMoveLine{R"(	Doll.MoveTo %d,%d 
)"};
inline constexpr Template<Number, Number, Text> kMoveWithSpeedLine{R"(	Doll.MoveTo %d,%d,%s 
)"};
// A request that does nothing visible; its completion event marks the point
// where everything queued before it has been played.
inline constexpr Template<Text> kRestPoseRequest{R"(	Set %s = Doll.Play("RestPose")
)"};
// The call of a listen's voice command sub that ends its step.
inline constexpr Template<Text> kSubCall{R"(	%s
)"};
inline constexpr Template<> kEndSub{R"(End Sub

)"};

// A listen's voice command sub: every listen replaces the commands of the one
// before it, then adds one command per word (name, caption, spoken phrase).
inline constexpr Template<Text> kVoiceCommandsSubStart{R"(
Sub %s
	Doll.Commands.RemoveAll
)"};
inline constexpr Template<Text, Text, Text> kVoiceCommandLine{
    R"(	Doll.Commands.Add "%s", "%s", "%s"
)"};

// The control calls Agent_Command with the spoken command's name; each case
// starts the word's response step.
inline constexpr Template<> kCommandHandlerStart{R"(
Sub Agent_Command(ByVal UserInput)
    Select Case UserInput.Name
)"};
inline constexpr Template<Text, Text> kCommandCase{R"(        Case "%s"
	        %s
)"};
inline constexpr Template<> kCommandHandlerEnd{R"(    End Select
End Sub

)"};

// ... and Agent_RequestComplete whenever a queued request has finished; each
// case calls a sub after a delay in milliseconds.
inline constexpr Template<> kRequestHandlerStart{R"(
Sub Agent_RequestComplete (ByVal Request)
	Select Case Request
)"};
inline constexpr Template<Text> kRequestCase{R"(		Case %s
)"};
inline constexpr Template<Text, Number> kTimerCall{R"(			ID = SetTimeout("%s", %d)
)"};
inline constexpr Template<> kRequestHandlerEnd{R"(	End Select
End Sub

)"};

inline constexpr Template<> kOnLoadSub{R"(
Sub Window_OnLoad
  LoadCharacter
  Set BeginRequest = Doll.Play("RestPose")
End Sub

)"};

// Goes to the next page; the last page's NextPage is empty, so the
// presentation stops there.
inline constexpr Template<Number> kNextPageSub{R"(Sub NextPage()
	Location.Href = "%d.html"
End Sub
)"};
inline constexpr Template<> kLastPageSub{R"(Sub NextPage()
End Sub
)"};

inline constexpr Template<> kScriptEnd{R"(
</SCRIPT>
)"};

// Behind the script block of an export that plays by itself: loads the agent
// runtime from beside the page, once the block has been parsed. The charset
// keeps the browser from decoding the runtime in the page's own code page
// (Shift-JIS pages).
inline constexpr Template<> kPlayerScriptLine{
    R"(<script src="orvo-player.js" charset="utf-8"></script>
)"};

// The names the script gives its subs and requests, numbered per page.
inline constexpr Template<Number> kStepName{"Step%d"};
inline constexpr Template<Number> kJumpRequestName{"JumpRequest%d"};
inline constexpr Template<Number> kJumpSubName{"JumpFuntion%d"};
inline constexpr Template<Number> kVoiceCommandsSubName{"AddVoiceCommands%d"};
inline constexpr Template<Number> kVoiceCommandName{"VoiceCommand%d"};

// ---- The navigation bar, behind "<body>" ----------------------------------

inline constexpr Template<> kNavigationStart{R"(<center>
)"};
inline constexpr Template<Number> kNavigationPrevious{
    R"(<a href="%d.html"> <IMG src="previous.gif" border=0></a>
)"};
inline constexpr Template<Number> kNavigationNumber{R"(<STRONG><FONT size=6> %d </FONT></STRONG>
)"};
inline constexpr Template<Number> kNavigationNext{
    R"(<a href="%d.html"> <IMG src="next.gif" border=0></a>
)"};
inline constexpr Template<> kNavigationEnd{R"(</center>
)"};

// ---- The index page of the debug mode, debugMain.html ---------------------

inline constexpr Template<> kIndexPageStart{R"(<HTML>
<HEAD>
</HEAD>
<BODY  text ="00000e">
)"};
// One link per page, opening it in the debug frame page's upper frame.
inline constexpr Template<Number, Number> kIndexPageLink{
    R"(<a href="%d.html" target="up_frame"> %d </a>)"};
inline constexpr Template<> kIndexPageEnd{R"(</BODY>
</HTML>
)"};

// ---- File names -----------------------------------------------------------

// A page's file: the attribute "realpagename" and the file in the output folder.
inline constexpr Template<Number> kPageFileName{"%d.html"};

} // namespace orvo::convert::templates
