#include "tools/druvo/InvoiceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tools/druvo/CliError.h"
#include "tools/druvo/OutputFile.h"

namespace druvo::cli {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) throw CliError(ErrnoText(errno));
  struct stat info;
  if (fstat(file.Get(), &info) != 0) throw CliError(ErrnoText(errno));
  if (S_ISDIR(info.st_mode)) throw CliError(ErrnoText(EISDIR));
  // One read fills a regular file's buffer; the spare byte shows its end.
  std::string content(S_ISREG(info.st_mode)
                          ? static_cast<std::size_t>(info.st_size) + 1
                          : 65536,
                      '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == content.size()) content.resize(content.size() * 2);
    const ssize_t n =
        read(file.Get(), content.data() + used, content.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw CliError(ErrnoText(errno));
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  content.resize(used);
  return content;
}

}  // namespace druvo::cli
