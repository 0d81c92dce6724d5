#include <cerrno>

#include "tools/druvo/CliError.h"
#include "tools/druvo/InvoiceFile.h"
#include "tools/druvo/Win32_internal.h"

namespace druvo::cli {

std::string ReadWholeFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    throw CliError(Win32ErrorText(GetLastError()));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    throw CliError(ErrnoText(EISDIR));
  }
  Win32Handle file(CreateFileW(wide.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw CliError(Win32ErrorText(GetLastError()));
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    throw CliError(Win32ErrorText(GetLastError()));
  }
  // The spare byte shows the end when the file grew since.
  std::string content(static_cast<std::size_t>(size.QuadPart) + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == content.size()) content.resize(content.size() * 2);
    const std::size_t chunk = content.size() - used;
    DWORD read = 0;
    if (!ReadFile(file.Get(), content.data() + used,
                  static_cast<DWORD>(chunk > 0x40000000 ? 0x40000000 : chunk),
                  &read, nullptr)) {
      throw CliError(Win32ErrorText(GetLastError()));
    }
    if (read == 0) break;
    used += read;
  }
  content.resize(used);
  return content;
}

}  // namespace druvo::cli
