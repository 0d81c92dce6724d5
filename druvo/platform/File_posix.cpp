// Files over POSIX descriptors. Exclusivity uses flock, whose locks belong to
// the open file description, so two opens in one process exclude each other
// as they do on Windows (fcntl record locks would not).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "druvo/platform/File.h"

namespace druvo {

namespace {

// A handle opened without read access carries this bit beside its
// descriptor, so that reads through it fail as on Windows.
constexpr FileHandle kNoReadBit = FileHandle{1} << 40;
constexpr FileHandle kDescriptorMask = kNoReadBit - 1;

int Descriptor(FileHandle handle) {
  return static_cast<int>(handle & kDescriptorMask);
}

bool Valid(FileHandle handle) { return handle >= 0 && Descriptor(handle) >= 0; }

bool WantsRead(unsigned access) {
  return (access & (FileGenericRead | FileGenericAll | FileReadData)) != 0;
}

bool WantsWrite(unsigned access) {
  return (access & (FileGenericWrite | FileGenericAll | FileWriteData |
                    FileAppendData)) != 0;
}

int OpenFlags(unsigned access) {
  const bool write = WantsWrite(access);
  const int mode = write ? (WantsRead(access) ? O_RDWR : O_WRONLY) : O_RDONLY;
  return mode | O_CLOEXEC;
}

// Opens an existing file or creates a new one; `created` tells which.
int OpenOrCreate(const std::string& path, int flags, bool& created) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
      created = true;
      return fd;
    }
    if (errno != EEXIST) return -1;
    fd = ::open(path.c_str(), flags);
    if (fd >= 0 || errno != ENOENT) return fd;
    // Removed between the two calls: try again.
  }
  return -1;
}

int OpenByDisposition(const std::string& path, int flags, unsigned disposition,
                      bool& created) {
  created = false;
  switch (disposition) {
    case FileCreateNew: {
      const int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
      created = fd >= 0;
      return fd;
    }
    case FileCreateAlways:
    case FileOpenAlways:
      return OpenOrCreate(path, flags, created);
    case FileOpenExisting:
    case FileTruncateExisting:
      return ::open(path.c_str(), flags);
    default:
      errno = EINVAL;
      return -1;
  }
}

bool IsDirectory(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode);
}

bool Lock(int fd, unsigned shareMode) {
  const int kind = shareMode == 0 ? LOCK_EX : LOCK_SH;
  int result;
  do {
    result = ::flock(fd, kind | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Truncation happens only once the lock is held, so a refused open leaves
// the file as it was.
bool Truncate(int fd, const std::string& path, unsigned access) {
  if (WantsWrite(access)) return ::ftruncate(fd, 0) == 0;
  return ::truncate(path.c_str(), 0) == 0;
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
  if ((disposition == FileTruncateExisting && !WantsWrite(access)) ||
      name.find('\0') != AnsiString::npos) {
    return InvalidFileHandle;
  }
  const std::string path = FileSystemName(name);
  bool created = false;
  const int fd =
      OpenByDisposition(path, OpenFlags(access), disposition, created);
  if (fd < 0) return InvalidFileHandle;
  const bool truncate =
      disposition == FileCreateAlways || disposition == FileTruncateExisting;
  if (IsDirectory(fd) || !Lock(fd, shareMode) ||
      (truncate && !created && !Truncate(fd, path, access))) {
    ::close(fd);
    if (created) ::unlink(path.c_str());
    return InvalidFileHandle;
  }
  return WantsRead(access) ? fd : (fd | kNoReadBit);
}

bool FileRead(FileHandle handle, void* buffer, std::size_t size,
              std::size_t& done) {
  done = 0;
  if (!Valid(handle) || (handle & kNoReadBit) != 0) return false;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (done < size) {
    const ssize_t got = ::read(Descriptor(handle), bytes + done, size - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool FileWrite(FileHandle handle, const void* buffer, std::size_t size,
               std::size_t& done) {
  done = 0;
  if (!Valid(handle)) return false;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  while (done < size) {
    const ssize_t put = ::write(Descriptor(handle), bytes + done, size - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (put == 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool FileSeek(FileHandle handle, std::int64_t offset, int origin,
              std::int64_t& position) {
  if (!Valid(handle)) return false;
  const int whence = origin == FileCurrent ? SEEK_CUR
                     : origin == FileEnd   ? SEEK_END
                                           : SEEK_SET;
  const off_t moved =
      ::lseek(Descriptor(handle), static_cast<off_t>(offset), whence);
  if (moved < 0) return false;
  position = static_cast<std::int64_t>(moved);
  return true;
}

bool FileClose(FileHandle handle) {
  if (!Valid(handle)) return false;
  // Linux releases the descriptor even when close reports an error, so
  // it is never retried.
  return ::close(Descriptor(handle)) == 0;
}

}  // namespace druvo
