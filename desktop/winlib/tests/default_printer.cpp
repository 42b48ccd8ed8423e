#include "desktop/winlib/tests/default_printer.h"

#include <winspool.h>

#include <fstream>
#include <iterator>
#include <vector>

BOOL default_printer_dialog(PRINTDLGA* record) {
  record->Flags |= PD_RETURNDEFAULT;
  return PrintDlgA(record);
}

std::string default_printer_file() {
  char name[256];
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size)) return std::string();
  HANDLE printer = nullptr;
  if (!OpenPrinterA(name, &printer, nullptr)) return std::string();
  DWORD needed = 0;
  GetPrinterA(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  std::string port;
  if (GetPrinterA(printer, 2, buffer.data(), needed, &needed))
    port = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data())->pPortName;
  ClosePrinter(printer);
  if (port.empty() || port[0] != '/') return std::string();
  for (char& c : port)
    if (c == '/') c = '\\';
  return "Z:" + port;
}

int printed_pages(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return -1;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int pages = 0;
  for (size_t at = text.find("%%Page:"); at != std::string::npos; at = text.find("%%Page:", at + 1)) ++pages;
  return pages;
}
