// Directory search through FindFirstFile/FindNextFile, with the runtime's
// attribute mask applied on top and "." and ".." left out. Names are CP1250
// here and UTF-16 at the file system.
#include <windows.h>

#include <string>

#include "druvo/platform/FindFile.h"

namespace druvo {

struct TSearchRec::State {
  struct FindCloser {
    void operator()(HANDLE handle) const { ::FindClose(handle); }
  };
  std::unique_ptr<void, FindCloser> Handle;
  int Exclude = 0;
};

TSearchRec::TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;
TSearchRec::~TSearchRec() = default;

namespace {

constexpr int kAttributeBits =
    faReadOnly | faHidden | faSysFile | faVolumeID | faDirectory | faArchive;

// Takes `data` into `found` when it passes the search's mask.
bool Accept(const WIN32_FIND_DATAW& data, int exclude, TSearchRec& found) {
  const std::wstring_view name(data.cFileName);
  if (name == L"." || name == L"..") return false;
  const int attr = static_cast<int>(data.dwFileAttributes) & kAttributeBits;
  if ((attr & exclude) != 0) return false;
  found.Name = WideToAnsi(std::u16string_view(
      reinterpret_cast<const char16_t*>(name.data()), name.size()));
  found.Attr = attr;
  found.Size = (attr & faDirectory) != 0
                   ? 0
                   : (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) |
                         data.nFileSizeLow;
  return true;
}

int Next(TSearchRec& found) {
  TSearchRec::State* state = found.Search.get();
  if (state == nullptr || !state->Handle) return FindErrorNoMoreFiles;
  WIN32_FIND_DATAW data;
  while (FindNextFileW(state->Handle.get(), &data)) {
    if (Accept(data, state->Exclude, found)) return 0;
  }
  return FindErrorNoMoreFiles;
}

}  // namespace

int FindFirst(const AnsiString& path, int attr, TSearchRec& found) {
  FindClose(found);
  // The last part is the pattern: an empty one, "." or ".." (which the
  // system would resolve to a folder) and wildcards before it find nothing.
  const std::size_t slash = path.find_last_of("\\/");
  const AnsiString pattern =
      slash == AnsiString::npos ? path : path.substr(slash + 1);
  const AnsiString directory =
      slash == AnsiString::npos ? AnsiString() : path.substr(0, slash);
  if (pattern.empty() || pattern == "." || pattern == ".." ||
      directory.find_first_of("*?") != AnsiString::npos ||
      path.find('\0') != AnsiString::npos) {
    return FindErrorFileNotFound;
  }
  const WideString wide = AnsiToWide(path);
  const std::wstring name(wide.begin(), wide.end());
  auto state = std::make_unique<TSearchRec::State>();
  state->Exclude = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  WIN32_FIND_DATAW data;
  HANDLE handle = FindFirstFileW(name.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) {
    return GetLastError() == ERROR_PATH_NOT_FOUND ? FindErrorPathNotFound
                                                  : FindErrorFileNotFound;
  }
  state->Handle.reset(handle);
  found.Search = std::move(state);
  if (Accept(data, found.Search->Exclude, found) || Next(found) == 0) return 0;
  FindClose(found);
  return FindErrorFileNotFound;
}

int FindNext(TSearchRec& found) { return Next(found); }

void FindClose(TSearchRec& found) { found.Search.reset(); }

}  // namespace druvo
