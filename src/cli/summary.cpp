#include "cli/summary.h"

#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/climessages.h"

namespace orvo::cli {

namespace {

std::string counted(std::size_t count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

} // namespace

void writeSummaryLine(std::ostream& out, const Summary& summary)
{
    if (summary.command == "check") {
        if (summary.errors == 0 && summary.warnings == 0) {
            return;
        }
        out << "Checked " << visibleControls(summary.markupFile) << ": "
            << counted(summary.pageCount, "page", "pages") << ", "
            << counted(summary.errors, "error", "errors") << ", "
            << counted(summary.warnings, "warning", "warnings") << '\n';
        return;
    }
    if (summary.errors == 0) {
        std::ostringstream seconds;
        seconds << std::fixed << std::setprecision(3) << summary.seconds;
        out << "Converted " << counted(summary.pages, "page", "pages") << " into "
            << visibleControls(summary.output) << " in " << seconds.str() << " s\n";
        return;
    }
    if (summary.pages == 0 && summary.pageCount == 0) {
        out << "Wrote no pages: " << counted(summary.errors, "problem", "problems") << '\n';
        return;
    }
    out << "Wrote " << summary.pages << " of " << counted(summary.pageCount, "page", "pages")
        << " into " << visibleControls(summary.output) << ", with "
        << counted(summary.errors, "problem", "problems") << '\n';
}

void writeSummaryObject(std::ostream& out, const Summary& summary)
{
    out << "{\"type\":\"summary\",\"command\":" << jsonString(summary.command)
        << ",\"pages\":" << summary.pages << ",\"errors\":" << summary.errors
        << ",\"warnings\":" << summary.warnings << ",\"output\":"
        << (summary.output.empty() ? std::string("null") : jsonString(summary.output)) << "}\n";
    out.flush();
}

} // namespace orvo::cli
