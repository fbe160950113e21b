#pragma once
// The tooltip of each panel region: a string-table text, in the user's language.
#include "viewer/panel/PanelLayout.h"

#include <QString>

namespace kelto::viewer {

// The string-table identifier of the region's tooltip (213 to 222, 32851, 32852).
int tooltipStringId(PanelRegion region);
// Its text in the current language.
QString tooltipText(PanelRegion region);

}  // namespace kelto::viewer
