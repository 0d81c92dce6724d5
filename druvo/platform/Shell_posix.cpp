// Shortcuts as desktop entry files, written to a temporary file beside the
// target path and renamed over it, so that a failure leaves no half file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "druvo/platform/File.h"
#include "druvo/platform/Shell.h"

namespace druvo {

namespace {

// The escapes of string values: backslash, line breaks, tabs, and blanks at
// the start (a reader drops those).
std::string EscapeValue(std::string_view value) {
  std::string out;
  bool leading = true;
  for (const char c : value) {
    if (c != ' ') leading = false;
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case ' ':
        out += leading ? "\\s" : " ";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool NeedsQuotes(std::string_view argument) {
  return argument.empty() ||
         argument.find_first_of(" \t\n\"'\\><~|&;$*?#`=()") !=
             std::string_view::npos;
}

// One Exec argument: quoted when it holds a reserved character, with '"',
// '`', '$' and '\' escaped inside the quotes.
std::string QuoteArgument(std::string_view argument) {
  if (!NeedsQuotes(argument)) return std::string(argument);
  std::string out = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// '%' starts a field code in Exec; a literal one is doubled.
std::string DoublePercent(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string ShortcutName(const AnsiString& path) {
  const std::size_t slash = path.find_last_of("\\/");
  AnsiString name = slash == AnsiString::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != AnsiString::npos && dot > 0) name.resize(dot);
  return AnsiToUtf8(name);
}

std::string EntryText(const TShellLink& link, const AnsiString& path) {
  std::string exec = QuoteArgument(FileSystemName(link.Target));
  if (!link.Arguments.empty()) exec += " " + AnsiToUtf8(link.Arguments);
  std::string text = "[Desktop Entry]\nType=Application\n";
  text += "Name=" + EscapeValue(ShortcutName(path)) + "\n";
  text += "Exec=" + EscapeValue(DoublePercent(exec)) + "\n";
  if (!link.WorkingDirectory.empty()) {
    text += "Path=" + EscapeValue(FileSystemName(link.WorkingDirectory)) + "\n";
  }
  if (!link.IconLocation.empty()) {
    text += "Icon=" + EscapeValue(FileSystemName(link.IconLocation)) + "\n";
  }
  return text;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::string TrimTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool SaveShellLink(const TShellLink& link, const AnsiString& path) {
  const std::string target = FileSystemName(path);
  if (target.empty() || target.back() == '/') return false;
  std::vector<char> temporary(target.begin(), target.end());
  for (const char c : std::string_view(".XXXXXX")) temporary.push_back(c);
  temporary.push_back('\0');
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written =
      WriteAll(fd, EntryText(link, path)) && ::fchmod(fd, 0644) == 0;
  const bool closed = ::close(fd) == 0;
  if (written && closed && ::rename(temporary.data(), target.c_str()) == 0) {
    return true;
  }
  ::unlink(temporary.data());
  return false;
}

bool SpecialFolderPath(HWND /*owner*/, int folder, AnsiString& path) {
  if (folder != CsidlDesktopDirectory) return false;
  const char* desktop = std::getenv("XDG_DESKTOP_DIR");
  std::string found;
  if (desktop != nullptr && *desktop != '\0') {
    found = desktop;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return false;
    found = home;
    while (!found.empty() && found.back() == '/') found.pop_back();
    found += "/Desktop";
  }
  path = Utf8ToAnsi(TrimTrailingSlashes(found));
  return true;
}

}  // namespace druvo
