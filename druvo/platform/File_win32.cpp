// Files through the Win32 file calls. Names are CP1250; they reach the file
// system as UTF-16 (what CreateFileA does on a CP1250 system, here whatever
// the machine's ANSI code page), so every CP1250 name keeps its letters.
#include <windows.h>

#include "druvo/platform/File.h"

namespace druvo {

namespace {

HANDLE Native(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

bool Valid(FileHandle handle) { return handle != InvalidFileHandle; }

std::wstring WideName(const AnsiString& name) {
  const WideString wide = AnsiToWide(name);
  return std::wstring(wide.begin(), wide.end());
}

bool IsDirectory(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string FileSystemName(const AnsiString& name) {
  AnsiString slashed = name;
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  return AnsiToUtf8(slashed);
}

FileHandle FileOpen(const AnsiString& name, unsigned access, unsigned shareMode,
                    unsigned disposition) {
  // A zero byte would cut the name short and open some other file.
  if (name.find('\0') != AnsiString::npos || disposition < FileCreateNew ||
      disposition > FileTruncateExisting) {
    return InvalidFileHandle;
  }
  const std::wstring wide = WideName(name);
  if (IsDirectory(wide)) return InvalidFileHandle;
  HANDLE handle = CreateFileW(wide.c_str(), access, shareMode, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return InvalidFileHandle;
  return reinterpret_cast<FileHandle>(handle);
}

bool FileRead(FileHandle handle, void* buffer, std::size_t size,
              std::size_t& done) {
  done = 0;
  if (!Valid(handle)) return false;
  auto* bytes = static_cast<char*>(buffer);
  while (done < size) {
    const std::size_t left = size - done;
    const DWORD chunk =
        left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD read = 0;
    if (!ReadFile(Native(handle), bytes + done, chunk, &read, nullptr)) {
      return false;
    }
    if (read == 0) break;  // end of file
    done += read;
  }
  return true;
}

bool FileWrite(FileHandle handle, const void* buffer, std::size_t size,
               std::size_t& done) {
  done = 0;
  if (!Valid(handle)) return false;
  const auto* bytes = static_cast<const char*>(buffer);
  while (done < size) {
    const std::size_t left = size - done;
    const DWORD chunk =
        left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(Native(handle), bytes + done, chunk, &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool FileSeek(FileHandle handle, std::int64_t offset, int origin,
              std::int64_t& position) {
  if (!Valid(handle) || origin < FileBegin || origin > FileEnd) return false;
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(Native(handle), static_cast<LONG>(offset),
                                   &high, static_cast<DWORD>(origin));
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    return false;  // before the start: the pointer stays where it was
  }
  position = (static_cast<std::int64_t>(high) << 32) | low;
  return true;
}

bool FileClose(FileHandle handle) {
  return Valid(handle) && CloseHandle(Native(handle)) != 0;
}

}  // namespace druvo
