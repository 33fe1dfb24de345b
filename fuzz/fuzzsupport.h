#pragma once

// What the fuzz targets share: the options byte in front of every input, the
// folder that inputs are written into, the tables of the data folder, and the
// check that stops a run when the code under test breaks one of its contracts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace orvo::markup {
class TagNode;
class TagTypeTable;
} // namespace orvo::markup

namespace orvo::platform {
class RecordingMessages;
}

namespace orvo::test {
class TempDir;
}

namespace orvo::fuzz {

// The first byte of an input says how to read the rest, so that one input file
// reproduces a finding in either code page:
//   bit 0 set: Shift-JIS, else UTF-8;
//   bit 1 set: the conversion also exports the agent runtime;
//   bit 2 set: the synthesizer reads the text as Japanese (fuzz_speech).
// The seeds start with one of the digits "0" to "4", which keeps them readable.
struct Input {
    platform::CodePage codePage = platform::CodePage::Utf8;
    bool withPlayer = false;
    std::string_view bytes;
};

// Splits off the options byte and makes its code page the active one. False
// for the empty input, which has none.
bool takeInput(const std::uint8_t* data, std::size_t size, Input& input);

// The folder of this process's files, made on first use and removed at exit.
const test::TempDir& workFolder();

// The source tree's data folder, ending with "/".
std::string dataFolder();

// The tag type table of the data folder, loaded once.
const markup::TagTypeTable& dataTagTypes();

// True when no node below root (root included) holds unparsed content. Walks
// with an explicit stack: fuzzed trees can be nested very deeply.
bool allContentConsumed(const markup::TagNode& root);

// Whether the parser's messages fit its outcome. A missing "/>" is reported
// without failing the parse; any other message is a failure, and a failure
// shows exactly one. So a successful parse shows no other message and a
// failed one exactly one.
bool messagesFitParse(bool parsed, const platform::RecordingMessages& messages);

// Aborts with `what` on stderr when the condition does not hold, so that
// libFuzzer saves the input that broke the contract.
void require(bool condition, const char* what);

} // namespace orvo::fuzz
