// What the program's Win32 sources share: paths (UTF-8 inside the program)
// as the wide text the Win32 file calls take, and Win32 errors as the
// messages the POSIX build gives for the same cases.
#pragma once

#include <windows.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "tools/druvo/OutputFile.h"

namespace druvo::cli {

inline std::wstring WidePath(const std::string& path) {
  if (path.empty()) return {};
  const int size = MultiByteToWideChar(
      CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                      wide.data(), size);
  return wide;
}

inline std::string Win32ErrorText(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ErrnoText(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return ErrnoText(EACCES);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return ErrnoText(EEXIST);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ErrnoText(ENOSPC);
    default:
      return std::system_category().message(static_cast<int>(error));
  }
}

// Closes a file handle when it goes out of scope.
class Win32Handle {
 public:
  explicit Win32Handle(HANDLE handle) : handle_(handle) {}
  ~Win32Handle() { Close(); }
  Win32Handle(const Win32Handle&) = delete;
  Win32Handle& operator=(const Win32Handle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace druvo::cli
