#pragma once

// Text that goes inside the double quotes of a VBScript string literal in the
// page's script element (speech texts, animation names, command words, the
// character, jump targets). The HTML parser reads the script element before
// VBScript does: a "</" ends it there ("Hello </SCRIPT><script>...") and
// a "<!--" changes how it finds its end, so a speech could break the whole
// page or inject a script of its own. And a CR or LF inside a literal is an
// "Unterminated string constant" that stops every speech of the page.

#include <string>
#include <string_view>

namespace orvo::convert {

// The text with "</" written as <" & "/ and "<!--" as <" & "!-- (the same
// string once VBScript joins the pieces, but nothing the HTML parser sees),
// and each CR or LF as " & vbCr & " or " & vbLf & ". Every other text comes
// back unchanged. Double quotes are the caller's: they are left as they are.
std::string scriptStringText(std::string_view text);

// The same, appended to out.
void appendScriptString(std::string& out, std::string_view text);

// A text filled into a template as scriptStringText makes it, written
// straight into the output (see platform::appendTemplate). With
// doubleQuotes, each double quote is doubled first, as a speech text's is.
struct ScriptText {
    std::string_view text;
    bool doubleQuotes = false;
    void appendTo(std::string& out) const;
};

} // namespace orvo::convert
