#include "rurorizi/CountryCode.h"

#include "platform/SystemInfo.h"
#include "rurorizi/DecimalText.h"

namespace kelto::rurorizi {

namespace {
constexpr std::uint32_t kCountryWhenUnknown = 1;
}

std::uint32_t CountryCode::resolve() {
    if (code_ == 0) {
        const auto text = platform::userLocaleCountryText();
        code_ = text ? static_cast<std::uint32_t>(decimalValue(*text)) : kCountryWhenUnknown;
    }
    return code_;
}

}  // namespace kelto::rurorizi
