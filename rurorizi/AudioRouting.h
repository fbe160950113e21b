#pragma once
// dactl, routing half: where the card's audio comes from and whether it plays. The route is
// carried by GPIO data bits 0 to 3 (the value written equals the route; bits 0 and 1 reading 3
// mean muted) and by bits 24 and 25 of the audio register word. On a Bt878 with RISC audio
// enabled, muting and the digital audio path go through the audio command library instead.
// Results are the library's codes (0, -1, -3, -254) or the audio command library's answer.
namespace kelto::rurorizi::dactl {

void applyAudioRoute(int route);
void writeGpioAudioValue(int value);
// The GPIO audio value (the remembered route on a Bt878), or -254 when it cannot be read.
int readGpioAudioValue();
// Routes 0..3 (else -3): 0 or -254.
int setAudioRoute(int route);
// SetTVParam 16: 0 mutes, 1..255 unmute (else -3): 0 or -254.
int mute(int value);
// GetTVParam 16: 1 playing, 0 muted, -254 when the state cannot be read.
int audioState();
// SetRadioParam 6: 1 mutes, any other 0..255 unmutes (else -3): 0, or -1 when refused.
int radioMute(int value);
// GetRadioParam 6: 1 playing, 0 muted.
int radioAudioState();
// SetAudioParam 2 and 3.
int startAudioPath(int value);
int stopAudioPath(int value);
// SetAudioParam 1.
int chooseRoute(int value);

}  // namespace kelto::rurorizi::dactl
