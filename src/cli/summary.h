#pragma once

// The last word of a run: how many pages, errors and warnings, and where the
// pages went. As text on stdout, one line:
//     Converted 7 pages into DIR in 0.012 s           (convert, no error)
//     Wrote 5 of 7 pages into DIR, with 3 problems    (convert with errors)
//     Wrote no pages: 1 problem                       (convert that stopped)
//     Checked FILE: 7 pages, 1 error, 2 warnings      (check, when anything
//                                                      was reported)
// and with the JSON format as the last object on the message stream:
//     {"type":"summary","command":"convert","pages":5,"errors":3,
//      "warnings":0,"output":"DIR"}
// where pages counts the pages written (convert) or found (check), and output
// is null when no output folder was made.

#include <cstddef>
#include <iosfwd>
#include <string>

namespace orvo::cli {

struct Summary {
    std::string command;    // "check" or "convert"
    std::string markupFile; // as the user named it (UTF-8)
    std::string output;     // the output folder (UTF-8); empty when none was made
    std::size_t pages = 0;  // written (convert) or found (check)
    std::size_t pageCount = 0;
    std::size_t errors = 0;
    std::size_t warnings = 0;
    double seconds = 0;
};

// Nothing for a check that reported nothing.
void writeSummaryLine(std::ostream& out, const Summary& summary);
void writeSummaryObject(std::ostream& out, const Summary& summary);

} // namespace orvo::cli
