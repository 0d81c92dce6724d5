#include "tools/druvo/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

// The mode new files get: 0666 less the process's umask.
mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// A temporary file beside `path`, removed by the destructor unless kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& path) {
    const std::filesystem::path target(path);
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX"))
            .string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkstemp(name.data());
    if (fd_ < 0) {
      throw CliError("cannot create a temporary file beside '" + path +
                     "': " + ErrnoText(errno));
    }
    path_ = name.data();
  }
  ~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view data) {
    fchmod(fd_, NewFileMode());
    while (!data.empty()) {
      const ssize_t n = write(fd_, data.data(), data.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail("cannot write");
      data.remove_prefix(static_cast<std::size_t>(n));
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) Fail("cannot write");
  }
  const std::string& Path() const { return path_; }
  void Keep() { kept_ = true; }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw CliError(std::string(what) + " '" + path_ + "': " + ErrnoText(errno));
  }

  int fd_ = -1;
  std::string path_;
  bool kept_ = false;
};

[[noreturn]] void ThrowExists(const std::string& path) {
  throw CliError("'" + path + "' exists (use --force to overwrite it)");
}

// Gives the temporary file the target's name without replacing an existing
// file. A hard link does that atomically; where links are not supported,
// a check just before renaming has to do.
void MoveIntoPlaceKeepingExisting(TemporaryFile& temp,
                                  const std::string& path) {
  if (link(temp.Path().c_str(), path.c_str()) == 0) return;  // temp unlinked
  const int error = errno;
  if (error == EEXIST) ThrowExists(path);
  if (error != EPERM && error != ENOTSUP && error != EOPNOTSUPP &&
      error != EXDEV && error != EMLINK) {
    throw CliError("cannot create '" + path + "': " + ErrnoText(error));
  }
  struct stat info;
  if (lstat(path.c_str(), &info) == 0) ThrowExists(path);
  if (rename(temp.Path().c_str(), path.c_str()) != 0) {
    throw CliError("cannot create '" + path + "': " + ErrnoText(errno));
  }
  temp.Keep();
}

}  // namespace

void WriteFileWhole(const std::string& path, std::string_view data,
                    bool overwrite) {
  TemporaryFile temp(path);
  temp.Write(data);
  if (!overwrite) return MoveIntoPlaceKeepingExisting(temp, path);
  if (rename(temp.Path().c_str(), path.c_str()) != 0) {
    throw CliError("cannot replace '" + path + "': " + ErrnoText(errno));
  }
  temp.Keep();
}

}  // namespace druvo::cli
