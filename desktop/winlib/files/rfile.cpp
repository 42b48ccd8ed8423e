#include "desktop/winlib/files/rfile.h"

#include "desktop/winlib/messages/messages.h"

rFileClass::~rFileClass() { close(); }

bool rFileClass::open(const char* folder, const char* name, uint16_t mode, bool quiet) {
  close();
  name_.set(folder);
  if (name_.length() > 0) name_.append("\\");
  name_.append(name);
  mode_ = mode;
  DWORD access = ((mode & rfile_read) ? GENERIC_READ : 0) | ((mode & rfile_write) ? GENERIC_WRITE : 0);
  DWORD share = (mode & rfile_share_read) ? FILE_SHARE_READ : 0;
  DWORD disposition = (mode & rfile_open_existing) ? OPEN_EXISTING : (mode & rfile_open_always) ? OPEN_ALWAYS : 0;
  handle_ = disposition ? CreateFileA(name_.text(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)
                        : INVALID_HANDLE_VALUE;
  open_ = handle_ != INVALID_HANDLE_VALUE ? 1 : 0;
  if (!open_ && !quiet) errormessage("rFileClass::open *** UNABLE TO OPEN FILE [%s] ***", name_.text());
  return open_ != 0;
}

uint32_t rFileClass::read(void* buffer, uint32_t count) {
  if (!open_) return 0;
  DWORD done = 0;
  if (!ReadFile(handle_, buffer, count, &done, nullptr)) {
    errormessage("rFileClass::read *** READ OF [%s] FAILED ***", name_.text());
    return 0xFFFFFFFFu;
  }
  return done;
}

uint32_t rFileClass::write(const void* buffer, uint32_t count) {
  if (!open_) return 0;
  DWORD done = 0;
  if (!WriteFile(handle_, buffer, count, &done, nullptr)) {
    errormessage("rFileClass::write *** WRITE TO [%s] FAILED (size %d) ***", name_.text(), static_cast<int>(count));
    return 0;
  }
  return done;
}

int rFileClass::close() {
  if (!open_) return 1;
  BOOL closed = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  open_ = 0;
  return closed ? 1 : 0;
}
