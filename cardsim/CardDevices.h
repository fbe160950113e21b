#pragma once
// The card's two devices, registered with the platform's device layer while the card library is
// loaded:
//   "\\.\BT848"        (every card)     control code 2:  the register block's address
//   "\\.\BtPCIAud.vxd" (Bt878 cards)    control code 11: the register block's address
// The address is written as a pointer-sized value into the output buffer; a buffer too small for
// it, an unknown code, or a device made silent by a test returns nothing (and fails). A device is
// opened without sharing: a second open while one is open fails.
namespace kelto::cardsim {

inline constexpr const char* kVideoDeviceName = "\\\\.\\BT848";
inline constexpr const char* kAudioDeviceName = "\\\\.\\BtPCIAud.vxd";
inline constexpr unsigned kVideoRegisterBlockCode = 2;
inline constexpr unsigned kAudioRegisterBlockCode = 11;

}  // namespace kelto::cardsim
