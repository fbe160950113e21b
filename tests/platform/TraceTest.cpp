#include "platform/Trace.h"

#include "platform/Clock.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <vector>

namespace kelto::platform {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The text of a log line after its time stamp.
std::string withoutStamp(const std::string& line) { return line.size() > 24 ? line.substr(24) : line; }

TEST(TraceTest, EveryLineStartsWithItsTime) {
    VirtualClock clock(std::chrono::system_clock::time_point(std::chrono::milliseconds(1'800'000'000'123)));
    setClock(&clock);
    traceLine("first line");
    debugOutput("two lines\r\nin one call\r\n");
    debugOutput("a line in ");
    debugOutput("two calls\n");
    setClock(nullptr);
    const auto lines = linesOf(test::readFile(traceLogPath()));
    ASSERT_EQ(lines.size(), 4u);
    const std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.123 .+)");
    for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, stamped)) << line;
    EXPECT_EQ(withoutStamp(lines[0]), "first line");
    EXPECT_EQ(withoutStamp(lines[2]), "in one call");
    EXPECT_EQ(withoutStamp(lines[3]), "a line in two calls");
}

TEST(TraceTest, ALineRepeatedInARowIsWrittenOnceWithACount) {
    for (int i = 0; i < 2500; ++i) traceLine("Windows: refused a message with a bad header");
    traceLine("something else");
    traceLine("something else");
    traceLine("last");
    const auto lines = linesOf(test::readFile(traceLogPath()));
    std::vector<std::string> texts;
    for (const auto& line : lines) texts.push_back(withoutStamp(line));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Windows: refused a message with a bad header",
                         "(the line above was repeated 1000 more times)",
                         "(the line above was repeated 1000 more times)",
                         "(the line above was repeated 499 more times)",
                         "something else",
                         "(the line above was repeated 1 more times)",
                         "last",
                     }));

    // A line is written again when the log it went to has gone meanwhile.
    std::filesystem::remove(traceLogPath());
    traceLine("last");
    EXPECT_EQ(linesOf(test::readFile(traceLogPath())).size(), 1u);
}

TEST(TraceTest, TheLogIsRotatedKeepingOneOlderFile) {
    const std::string filler(200, 'x');
    constexpr int kLines = 12'000;  // about 2.7 MB with their stamps
    for (int i = 0; i < kLines; ++i) traceLine("line " + std::to_string(i) + " " + filler);
    const auto log = traceLogPath();
    const auto older = log.string() + ".1";
    EXPECT_LE(std::filesystem::file_size(log), kTraceLogMaxBytes);
    EXPECT_LE(std::filesystem::file_size(older), kTraceLogMaxBytes);
    EXPECT_GT(std::filesystem::file_size(older), kTraceLogMaxBytes - 1000);
    EXPECT_FALSE(std::filesystem::exists(log.string() + ".2"));
    // The two files hold the latest lines without a gap.
    auto lines = linesOf(test::readFile(older));
    const auto newer = linesOf(test::readFile(log));
    lines.insert(lines.end(), newer.begin(), newer.end());
    ASSERT_FALSE(lines.empty());
    const int first = kLines - int(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(withoutStamp(lines[i]), "line " + std::to_string(first + int(i)) + " " + filler);
}

}  // namespace
}  // namespace kelto::platform
