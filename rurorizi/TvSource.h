#pragma once
// The video source codes of SetTVParam 1 and how the current one is read back from the decoder.
namespace kelto::rurorizi {

constexpr int kSourceComposite = 0;
constexpr int kSourceSVideo = 1;
constexpr int kSourceCompositeAlt = 2;
constexpr int kSourceCableTuner = 4;
constexpr int kSourceBroadcastTuner = 5;

inline bool isTunerSource(int source) { return source == kSourceCableTuner || source == kSourceBroadcastTuner; }

// GetTVParam 1: the source from the decoder's input and the remembered source; -253 when the
// driver cannot tell or the input does not fit.
int currentVideoSource();

}  // namespace kelto::rurorizi
