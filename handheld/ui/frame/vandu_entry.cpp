// Vandu, the handheld unit's program. Off the device it runs on the
// simulated unit:
//   Vandu.exe [card folder]
// The card folder is the first argument, else the setting ERG_CARD_FOLDER,
// else "Storage Card" beside the program. With ERG_REMOTE_LINE_TRANSCRIPT
// set, everything the unit writes on its remote-control line is also
// copied into that file; with ERG_REMOTE_LINE_PORT, a terminal can connect.
// With ERG_CARD_READ_ONLY=1 the card takes no new file or folder, as a card
// mounted read-only.
#include <windows.h>

#include <stdlib.h>

#include "handheld/engine/storage/card_files.h"
#include "handheld/ui/frame/main_window.h"
#include "platform/modal/modal_ui.h"
#include "handheld/ui/offdevice/simulated_unit_setup.h"

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int showCommand) {
#ifndef ERG_DEVICE_BUILD
  simulatedUnitOptions options;
  options.card = card_folder_for(GetCommandLineW());
  const wchar_t* transcript = _wgetenv(L"ERG_REMOTE_LINE_TRANSCRIPT");
  if (transcript != nullptr) options.transcript = transcript;
  const wchar_t* readOnly = _wgetenv(L"ERG_CARD_READ_ONLY");
  set_card_read_only(readOnly != nullptr && readOnly[0] == L'1');
  if (!set_up_simulated_unit(options)) {
    modal_message_box(nullptr, options.card.c_str(), L"The card folder cannot be made", MB_OK);
    return 1;
  }
#endif
  // The unit's power is off: the process ends here, its worker threads
  // with it.
  ExitProcess(static_cast<UINT>(vandu_main(module, showCommand)));
}
