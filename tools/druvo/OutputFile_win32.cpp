#include <random>
#include <string>

#include "tools/druvo/CliError.h"
#include "tools/druvo/OutputFile.h"
#include "tools/druvo/Win32_internal.h"

namespace druvo::cli {
namespace {

// Creates ".NAME.XXXXXX" beside `path` (never an existing file) and names
// it in `created`.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& created) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string dir =
      slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name =
      slash == std::string::npos ? path : path.substr(slash + 1);
  static const char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string suffix(6, 'X');
    for (char& c : suffix) c = kLetters[pick(random)];
    created = dir + "." + name + "." + suffix;
    HANDLE handle =
        CreateFileW(WidePath(created).c_str(), GENERIC_WRITE, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return handle;
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  throw CliError("cannot create a temporary file beside '" + path +
                 "': " + Win32ErrorText(GetLastError()));
}

// A temporary file beside `path`, removed by the destructor unless it was
// moved into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& path)
      : handle_(CreateTemporaryBeside(path, path_)), wide_(WidePath(path_)) {}
  ~TemporaryFile() {
    handle_.Close();
    if (!moved_) DeleteFileW(wide_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Write(std::string_view data) {
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(
          data.size() > 0x40000000 ? 0x40000000 : data.size());
      DWORD written = 0;
      if (!WriteFile(handle_.Get(), data.data(), chunk, &written, nullptr) ||
          written == 0) {
        Fail("cannot write");
      }
      data.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_.Get()) || !handle_.Close()) {
      Fail("cannot write");
    }
  }

  // Gives the file the name `path`: MoveFileExW replaces an existing file
  // only when asked to, and fails atomically on one otherwise.
  void MoveTo(const std::string& path, bool overwrite) {
    DWORD flags = MOVEFILE_WRITE_THROUGH;
    if (overwrite) flags |= MOVEFILE_REPLACE_EXISTING;
    if (MoveFileExW(wide_.c_str(), WidePath(path).c_str(), flags)) {
      moved_ = true;
      return;
    }
    const DWORD error = GetLastError();
    if (!overwrite &&
        (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)) {
      throw CliError("'" + path + "' exists (use --force to overwrite it)");
    }
    throw CliError("cannot " + std::string(overwrite ? "replace" : "create") +
                   " '" + path + "': " + Win32ErrorText(error));
  }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw CliError(std::string(what) + " '" + path_ +
                   "': " + Win32ErrorText(GetLastError()));
  }

  std::string path_;  // before handle_: set while handle_ is made
  Win32Handle handle_;
  std::wstring wide_;
  bool moved_ = false;
};

}  // namespace

void WriteFileWhole(const std::string& path, std::string_view data,
                    bool overwrite) {
  TemporaryFile temp(path);
  temp.Write(data);
  temp.MoveTo(path, overwrite);
}

}  // namespace druvo::cli
