// The platform's handle and record types that the window library's portable
// headers name. The Windows build takes them from <windows.h>; the portable
// build declares the few it needs the same way, so the window tree, page
// geometry and placed boxes build and are tested natively.
#ifndef DESKTOP_WINLIB_PLATFORM_TYPES_H
#define DESKTOP_WINLIB_PLATFORM_TYPES_H

#if defined(_WIN32)

#include <windows.h>

#else

#include <cstdint>

struct HWND__;
typedef HWND__* HWND;
struct HDC__;
typedef HDC__* HDC;
struct HFONT__;
typedef HFONT__* HFONT;
struct HPEN__;
typedef HPEN__* HPEN;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef uint32_t COLORREF;

// A file time (100 ns steps since 1601) and a calendar time, field for field
// as the platform lays them out.
struct FILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};
struct SYSTEMTIME {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};

// The font record, field for field as the platform lays it out.
struct LOGFONTA {
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];
};

#endif

#endif
