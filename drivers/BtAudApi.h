/* The audio command library "BtAud.dll" (libbtaud.so).
 *
 * ProcessCommand(command, value) carries out one numbered command of the Bt878 digital audio
 * path and answers 0 for success, 1 for failure or an unknown command:
 *   32 choose the route (value 0..3)   33, 80, 81 settings the path keeps (any value)
 *   66 answers 0 while the path runs   68 mute, 69 unmute
 *   112 start the path                 113 stop the path
 * On a card without the digital audio path every command answers 1.
 * Any thread may call; calls are serialised on the card. */
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int ProcessCommand(uint32_t command, uint32_t value);

#ifdef __cplusplus
}
#endif
