// The demonstration storage card: the ini file and a session protocol,
// "DEMO.ses", calling four test programs: dark adaptation of a minute,
// dim and bright flashes, two minutes of light adaptation, light-adapted
// flashes and a 30 Hz flicker (about five minutes of unit time).
#ifndef TOOLS_DEMO_CARD_H
#define TOOLS_DEMO_CARD_H

#include <string>

// The session's file name on the card.
extern const wchar_t* const kDemoProtocol;

// Writes the ini file (both channels, sample files and dataset texts on)
// and the programs onto the card folder, which must exist. False, with a
// message on stderr, when a file cannot be written.
bool write_demo_card(const std::wstring& card_folder);

#endif
