// Directory search over opendir/readdir: the directory is read lazily, one
// entry per match, so that a search costs one pass over the directory.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "druvo/platform/File.h"
#include "druvo/platform/FindFile.h"

namespace druvo {

struct TSearchRec::State {
  struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  std::unique_ptr<DIR, DirCloser> Dir;
  AnsiString Pattern;
  int Exclude = 0;
};

TSearchRec::TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;
TSearchRec::~TSearchRec() = default;

namespace {

bool HasWildcard(const AnsiString& text) {
  return text.find_first_of("*?") != AnsiString::npos;
}

int Attributes(const struct stat& info, const AnsiString& name) {
  int attr = 0;
  if (S_ISDIR(info.st_mode)) {
    attr |= faDirectory;
  } else if (S_ISREG(info.st_mode)) {
    attr |= faArchive;
  } else {
    attr |= faSysFile;
  }
  if ((info.st_mode & 0222) == 0) attr |= faReadOnly;
  if (!name.empty() && name[0] == '.') attr |= faHidden;
  return attr;
}

// Reads on to the next entry that matches and passes the mask.
int Next(TSearchRec& found) {
  TSearchRec::State* state = found.Search.get();
  if (state == nullptr || !state->Dir) return FindErrorNoMoreFiles;
  while (dirent* entry = ::readdir(state->Dir.get())) {
    const std::string_view raw(entry->d_name);
    if (raw == "." || raw == "..") continue;
    const AnsiString name = Utf8ToAnsi(raw);
    if (!MatchesMask(name, state->Pattern)) continue;
    struct stat info {};
    const int dir = ::dirfd(state->Dir.get());
    if (::fstatat(dir, entry->d_name, &info, 0) != 0 &&
        ::fstatat(dir, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    const int attr = Attributes(info, name);
    if ((attr & state->Exclude) != 0) continue;
    found.Name = name;
    found.Attr = attr;
    found.Size = S_ISREG(info.st_mode) ? info.st_size : 0;
    return 0;
  }
  return FindErrorNoMoreFiles;
}

}  // namespace

int FindFirst(const AnsiString& path, int attr, TSearchRec& found) {
  FindClose(found);
  const std::size_t slash = path.find_last_of("\\/");
  const AnsiString directory = slash == AnsiString::npos ? AnsiString(".")
                               : slash == 0              ? AnsiString("/")
                                            : path.substr(0, slash);
  auto state = std::make_unique<TSearchRec::State>();
  state->Pattern = slash == AnsiString::npos ? path : path.substr(slash + 1);
  state->Exclude = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  if (state->Pattern.empty() || HasWildcard(directory) ||
      path.find('\0') != AnsiString::npos) {
    return FindErrorFileNotFound;
  }
  state->Dir.reset(::opendir(FileSystemName(directory).c_str()));
  if (!state->Dir) return FindErrorPathNotFound;
  found.Search = std::move(state);
  const int result = Next(found);
  if (result != 0) {
    FindClose(found);
    return FindErrorFileNotFound;
  }
  return 0;
}

int FindNext(TSearchRec& found) { return Next(found); }

void FindClose(TSearchRec& found) { found.Search.reset(); }

}  // namespace druvo
