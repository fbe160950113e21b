#pragma once
// The decimal conversion used for registry and locale texts: optional blanks, an optional sign,
// then digits up to the first other character; 0 when there are none. Saturates at the 32-bit
// limits instead of overflowing.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

namespace kelto::rurorizi {

inline std::int32_t decimalValue(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        magnitude = std::min<std::int64_t>(magnitude * 10 + (text[pos] - '0'), kLimit);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace kelto::rurorizi
