// Settings and injected faults of the remote API stand-in (rapi.dll).
//
// The docked unit's card: "\Storage Card\..." maps to the folder named by the
// environment variable ERG_UNIT_CARD, else by the registry value
// "unit_card_folder" under HKEY_CURRENT_USER\SOFTWARE\TARNAVELLE\TOLMARO,
// else the simulated unit's default card: the folder "Storage Card" beside
// the program.
//
// Faults: a comma-separated list, from the environment variable
// ERG_RAPI_FAULTS when the library loads, or from rapi_standin_configure:
//   init_refused        CeRapiInitEx returns a failure at once
//   init_silent         the start is accepted but its event is never set
//   init_failed         the event is set with a failing outcome
//   filetime_failed     CeGetFileTime fails
//   short_read=N        every CeReadFile returns at most N bytes (and TRUE)
//   delay=MS            every call waits MS milliseconds first
//   unplug_after=K      after K calls the unit is gone: every call fails
// An empty list clears every fault (and the call count).
#ifndef PLATFORM_RAPI_RAPI_STANDIN_H
#define PLATFORM_RAPI_RAPI_STANDIN_H

#include "platform/rapi/rapi.h"

// Sets the faults (see above); false, with nothing changed, for an unknown
// word or a bad number.
RAPI_API BOOL WINAPI rapi_standin_configure(const char* faults);

// Sets the card folder for this process (null or empty: back to the
// setting's order above).
RAPI_API void WINAPI rapi_standin_set_card(LPCWSTR folder);

// Remote API calls made since the faults were last configured.
RAPI_API DWORD WINAPI rapi_standin_call_count(void);

#endif
