#pragma once
// The colour page's texts that its template does not hold: the tooltips of its controls and the
// colour group's title once the page is open, in the program's four languages.
#include "resources/StringTable.h"

#include <string>

namespace kelto::viewer::config {

// The tooltip of a control of the colour page; empty for a control without one.
std::string colourPageTip(UiLanguage language, int controlId);

// The colour group's title while the page is open ("OSD Color").
std::string openedColourGroupTitle(UiLanguage language);

}  // namespace kelto::viewer::config
