// The runtime's directory search: FindFirst, FindNext and FindClose over one
// directory, with the wildcards '*' (any run of characters) and '?' (one
// character) in the last part of the path only.
//
// Names are compared ignoring ASCII case; a pattern ending in ".*" also
// matches the name without it, so "*.*" matches names without a dot. "." and
// ".." are never reported. Entries carry runtime attributes: directories
// faDirectory, names beginning with a dot faHidden, files without write
// permission faReadOnly, entries that are neither files nor directories
// faSysFile, and ordinary files faArchive. As in the runtime, an entry is
// skipped when it is a directory, hidden or system entry whose attribute is
// missing from the search's mask; ordinary files are always reported.
// Results are 0 when an entry was found, else a non-zero error code.
//
// A Windows build puts the real calls behind this header (FindFile_win32.cpp).
#pragma once

#include <cstdint>
#include <memory>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x1FF;

// Error codes of a search (Windows values).
inline constexpr int FindErrorFileNotFound = 2;
inline constexpr int FindErrorPathNotFound = 3;
inline constexpr int FindErrorNoMoreFiles = 18;

// One search: the entry found last (CP1250 name without its directory) and
// the state for FindNext. Movable, not copyable; destroying it ends the
// search.
struct DRUVO_API TSearchRec {
  TSearchRec();
  TSearchRec(TSearchRec&&) noexcept;
  TSearchRec& operator=(TSearchRec&&) noexcept;
  ~TSearchRec();

  AnsiString Name;
  int Attr = 0;
  std::int64_t Size = 0;

  struct State;
  std::unique_ptr<State> Search;
};

// Starts a search for `path` (CP1250, '\' or '/' separators) with the
// attribute mask `attr`.
DRUVO_API int FindFirst(const AnsiString& path, int attr, TSearchRec& found);
DRUVO_API int FindNext(TSearchRec& found);
DRUVO_API void FindClose(TSearchRec& found);

// Whether `name` matches the wildcard `pattern` by the rules above.
DRUVO_API bool MatchesMask(std::string_view name, std::string_view pattern);

}  // namespace druvo
