#pragma once
// The debugger output: a trace log under the KeltoTV root ("KeltoTV.log"), copied to stderr
// when KELTO_DEBUG is set. Lines from every thread and process append whole.
//
// Every line starts with its local time ("2026-12-08 22:49:10.123 "). The log is kept small:
// when a write would take it past kTraceLogMaxBytes it is renamed to "KeltoTV.log.1" (replacing
// the older one) and a new log begins. A whole line written again and again in a row by one
// process is written once; the repeats are counted and a line "(the line above was repeated N
// more times)" follows when another line comes, every kTraceRepeatFlush repeats, and at exit.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace kelto::platform {

constexpr std::uint64_t kTraceLogMaxBytes = 1u << 20;
constexpr std::uint64_t kTraceRepeatFlush = 1000;

// Writes text as it stands (a trailing "\r\n" becomes "\n"); used for the program's fixed trace lines.
void debugOutput(std::string_view text);

// Writes one line: the text and a newline.
void traceLine(std::string_view text);

// printf-style variant of traceLine.
void tracef(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where the trace log is written.
std::filesystem::path traceLogPath();

}  // namespace kelto::platform
