#pragma once
#include <string_view>

namespace kelto::platform {
// International dialling code (e.g. 1 for "US", 82 for "KR", 86 for "CN") of an ISO 3166-1
// alpha-2 territory code, compared without regard to case; 0 when the code is unknown.
int dialCodeForTerritory(std::string_view territory);
}
