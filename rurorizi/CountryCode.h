#pragma once
// The country whose channel plans and TV sound standard apply, as its international dialling code.
// 0 means not known yet: the next use asks the system for the user locale's country code.
#include <cstdint>

namespace kelto::rurorizi {

class CountryCode {
public:
    // The code, asked from the system first when it is 0 (1 when the system cannot say).
    std::uint32_t resolve();
    // Any value, 0 included (which makes the next resolve ask the system again).
    void set(std::uint32_t code) { code_ = code; }

private:
    std::uint32_t code_ = 0;
};

}  // namespace kelto::rurorizi
