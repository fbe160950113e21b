#pragma once
// The choice of the card's driver set at start. The simulated card is the default; the card file
// (V4l2CardConfig.h) may choose a card behind a Video4Linux2 device instead. Choosing it makes
// every later load of "BtVid_32.dll" and "BtAud.dll" in the process load the V4L2 video driver
// library (libkelto_v4l2_btvid.so) and puts the card's two register-block devices on this set.
// Call on the main thread before anything loads the driver libraries.
namespace kelto::v4l2 {

// The library name that stands for the V4L2 video driver library.
inline constexpr const char* kV4l2DriverLibrary = "kelto_v4l2_btvid.dll";

enum class DriverSet { Simulated, V4l2 };

// Reads the card file and installs what it chooses; the set now in use.
DriverSet chooseDriverSet();
// Installs the V4L2 set whatever the card file says, or goes back to the simulated card's.
void installV4l2DriverSet();
void removeV4l2DriverSet();

}  // namespace kelto::v4l2
