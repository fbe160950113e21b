/* The hardware-control library "RURORIZI.DLL" (librurorizi.so): the capture card's video input,
 * picture controls, tuner, FM radio, audio routing and sound decoder behind five numbered-parameter
 * entry points and one message lookup. Load it with platform::loadLibrary("RURORIZI.DLL") and look
 * the functions up by name.
 *
 * Loading and unloading. The library does its whole set-up when it is loaded: it binds the video
 * driver library "BtVid_32.dll", probes the tuner on the card's I2C bus (and writes its name as
 * HKEY_LOCAL_MACHINE "SOFTWARE\Brooktree\Audio\TunerType"), takes the card's register block and,
 * on a Bt878 with RISC audio enabled ("SOFTWARE\Brooktree\Audio\RiscEnabled" not starting with
 * "0"), binds "BtAud.dll". When any of that fails the load fails and nothing stays bound. Unloading
 * silences the card, restores its audio register word and releases the driver libraries.
 *
 * Threads. The library has no locks: one card per process, and its callers serialise every call
 * (any one thread at a time). Tuning calls block the caller in busy waits on the tick count:
 * a TV tune at most 50 polls of 10 ms (200 on an Alps tuner), an FM tune a few 10 or 20 ms polls.
 *
 * Ownership. Nothing allocated crosses the boundary: results are integers, or pointers into the
 * library's own static buffers, valid until the library is unloaded and overwritten by the next
 * call that fills them.
 *
 * Results (32-bit signed): 0 success (for Get calls any value >= 0 is the result), or
 *   -2   code not served (out of range or an empty slot; TV and radio calls)
 *   -3   value out of range          -4   tuned, but no usable lock / no station found
 *   -5   channel operation while the video source is not the tuner (4 or 5)
 *   -253 a video driver call failed   -254 setting the audio route failed
 *   -255 the tuner did not answer while tuning TV
 *   -257 radio calls on a card that is not a Bt878
 *   -258 the tuner did not answer while tuning the radio
 *   1    SetAudioParam only: code not served, or the audio command library is not bound
 *
 * Addresses in an int. Four codes carry an address in their 32-bit value or result (SetTVParam 17,
 * SetRadioParam 3, GetTVParam 17 and 20, GetRadioParam 3). A 64-bit build cannot put a caller's
 * pointer into an int, so there:
 *   - GetTVParam 17 and 20 and GetRadioParam 3 return the address of the library's buffer, which
 *     lies in the lowest 2 GiB of the address space so that the int holds all of it; convert it
 *     back with (void*)(intptr_t)result. Where no such buffer could be had they answer -2.
 *   - SetTVParam 17 and SetRadioParam 3 answer -3 and do nothing, since no int can hold a whole
 *     caller address; read the same record through GetTVParam 17 / GetRadioParam 3 instead.
 * The library never reads or writes through an address taken from an int on such a build.
 */
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RURORIZI_EXPORT __attribute__((visibility("default")))

/* The sound format record handed out by GetTVParam 17 (TV sound) and GetRadioParam 3 (radio),
 * nine 32-bit fields (36 bytes). status: 0 the sound decoder is set up for the country, -1 not
 * set up (no decoder, a country without a programming table, or a failed write), -2 not
 * applicable now. After a successful set-up: flags 0, 1, 1; decoderKind 0 for a decoder of type
 * 1 (I2C 0xB0) and 1 for type 2 (I2C 0x80); 32000 Hz, 16 bits, 2 channels. The radio record is
 * never set up and keeps {36, -1, 0, ...}. */
typedef struct SoundFormatInfo {
    int32_t size;
    int32_t status;
    int32_t flag1;
    int32_t flag2;
    int32_t flag3;
    int32_t decoderKind;
    int32_t sampleRateHz;
    int32_t bitsPerSample;
    int32_t channels;
} SoundFormatInfo;

/* Video, picture, TV audio and country. Codes 0 to 20; any other code or an empty slot: -2.
 *  1 video source: 0 or 2 composite, 1 S-Video, 4 cable tuner, 5 broadcast tuner (else -3);
 *    -253 when the driver refuses. Also routes the audio (tuner for 4 and 5, external otherwise)
 *    and returns that result (0, -254).
 *  2 tune channel `value` of the cable (source 4) or broadcast (source 5) plan of the country:
 *    0, -3 (not in the plan), -4 (no lock), -5 (source is not the tuner), -253, -255.
 *  3, 4, 5, 6 brightness, contrast, hue, saturation 0..255 (else -3); -253 on a driver failure.
 *  16 audio on (1..255) or off (0); else -3; -254 on a failure.
 *  17 64-bit builds: -3 (see above). 32-bit builds: set up the sound decoder and copy the TV
 *     sound record into the caller's 36-byte buffer at address `value`.
 *  18 no operation: 0.
 *  19 set the country code (international dialling code; 0 = ask the system at next use) and set
 *     the sound decoder up for it: 0. */
RURORIZI_EXPORT int SetTVParam(unsigned code, int value);

/* Codes 0 to 20; any other code or an empty slot: -2.
 *  1 video source as above (-253 when the driver cannot tell)   2 current channel (-5 off tuner)
 *  3..6 picture controls (-253)   16 audio on 1 / muted 0 (-254)
 *  17 set up the sound decoder, then the address of the TV sound record (see above)
 *  18 the sound decoder's status byte with a type 1 decoder (0 when it cannot be read), else 1
 *  19 the country code   20 the address of a text buffer holding the current channel as decimal
 *     text (-5 off tuner). */
RURORIZI_EXPORT int GetTVParam(unsigned code);

/* FM radio, Bt878 cards only: every call on another card answers -257 before looking at the code.
 * Codes 0 to 6; any other code or an empty slot: -2.
 *  1 tune to `value` x 0.1 MHz (640..1080, else -3): 0 a station, -4 none, -258 tuner silent.
 *  3 64-bit builds: -3 (see above). 32-bit builds: copy the radio sound record to address `value`.
 *  4 no operation: 0.   5 as SetTVParam 19.
 *  6 radio mute: 1 mutes, any other value 0..255 unmutes (else -3); -1 when the audio command
 *    library refuses. */
RURORIZI_EXPORT int SetRadioParam(unsigned code, int value);

/* Bt878 only (else -257). Codes 0 to 6; else -2.
 *  1 the tuned FM frequency in 0.1 MHz (640 after load)   2 signal level 0..7 (Alps tuners: 0)
 *  3 the address of the radio sound record (see above)   4 always 1   5 the country code
 *  6 radio audio on 1 / muted 0. */
RURORIZI_EXPORT int GetRadioParam(unsigned code);

/* Audio path. Codes 0 to 6; any other code or an empty slot: 1.
 *  1 choose the route: 1 tuner, 2 second input, 3 external input, anything else silent; returns
 *    the audio command library's answer, or the silencing result without RISC audio, else 0.
 *  2 apply the chosen route and start the audio path (`value` goes to the audio command library).
 *  3 stop the audio path; without RISC audio release the GPIO audio outputs and restore the
 *    audio register word (-254 when an output cannot be released; the word then stays).
 *  4, 5, 6 settings passed to the audio command library; 1 when it is not bound. */
RURORIZI_EXPORT int SetAudioParam(unsigned code, int value);

/* The library's message for an error code (the low 16 bits of `code` name it: -255 and 65281
 * give the same text), in the user's language, in a static buffer of 255 bytes that the next
 * call overwrites; null when there is no such message. The caller must not free or write it. */
RURORIZI_EXPORT const char* GetTVErrString(unsigned code);

#ifdef __cplusplus
}
#endif
