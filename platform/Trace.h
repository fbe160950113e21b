#pragma once
// The debugger output: a trace log under the KeltoTV root ("KeltoTV.log"), copied to stderr
// when KELTO_DEBUG is set. Lines from every thread and process append whole.
#include <filesystem>
#include <string_view>

namespace kelto::platform {

// Writes text as it stands (a trailing "\r\n" becomes "\n"); used for the program's fixed trace lines.
void debugOutput(std::string_view text);

// Writes one line: the text and a newline.
void traceLine(std::string_view text);

// printf-style variant of traceLine.
void tracef(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where the trace log is written.
std::filesystem::path traceLogPath();

}  // namespace kelto::platform
