#pragma once
// The next free numbered capture file name in a folder: "<folder>/<stem><n>.<EXT>".
//
// Every entry of the folder that is not a folder and whose extension is the wanted one counts
// when its name (without extension) starts with the stem; upper and lower case are not told
// apart. The name equal to the stem counts as taken; a name whose next character after the stem
// is a digit contributes a number made of the last three characters of the name (digits by
// place value, anything else 0, further characters ignored). The result carries the highest
// number found plus one, or no number when nothing counted. The stem keeps its own case, the
// extension is upper case, and a folder that ends with "/" gets no separator.
#include "capture/CaptureTypes.h"

#include <string>

namespace kelto::capture {

// Still pictures: ".BMP" for BMP, ".JPG" for JPG.
std::string NextCaptureFileName(const std::string& folder, const std::string& stem, StillFileType type);
// Recordings: ".AVI" for AVI, ".MPG" for MPEG-1 and MPEG-2 (which share one numbering).
std::string NextCaptureFileName(const std::string& folder, const std::string& stem, RecordingType type);

// The rule itself for a three-letter extension ("BMP", "JPG", "AVI", "MPG").
std::string NextCaptureFileName(const std::string& folder, const std::string& stem, const std::string& extension);

}  // namespace kelto::capture
