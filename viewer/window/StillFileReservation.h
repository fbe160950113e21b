#pragma once
// The next numbered still-picture file, taken for one capture alone: the name is created
// exclusively on disk, and when another capture took it first (a serial capture on its worker
// thread and a single capture at the same moment), the next free number is taken instead. So no
// capture ever writes over another's picture.
#include "capture/CaptureTypes.h"

#include <optional>
#include <string>

namespace kelto::viewer {

// The path of an empty file now owned by the caller, who writes the picture over it (or removes
// it when the capture fails); nullopt when the folder refuses new files.
std::optional<std::string> reserveStillFile(const std::string& folder, const std::string& stem,
                                            capture::StillFileType type);

}  // namespace kelto::viewer
