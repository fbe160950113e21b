#pragma once
// The volume's steps, shared by the viewer's core and its panel strip.
namespace kelto::viewer {

inline constexpr int kLowestVolumeStep = 0;
inline constexpr int kHighestVolumeStep = 16;

}  // namespace kelto::viewer
