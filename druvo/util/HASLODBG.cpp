#include "druvo/util/HASLODBG.h"

#include <charconv>
#include <cstdint>

#include "druvo/platform/File.h"
#include "druvo/platform/MessageBox.h"
#include "druvo/util/PLIK95.h"

namespace druvo {

namespace {

constexpr unsigned kReadWrite = FileGenericRead | FileGenericWrite;
constexpr int kMessageBoxStop = 16;

// The shift of the byte at `index`; scrambling adds it, restoring takes it
// off again.
int Shift(std::size_t index) {
  const auto i = static_cast<int>(index % 70);  // both moduli divide 70
  return index % 2 == 0 ? (2 * i) % 5 - 11 : 13 - (2 * i + 1) % 7;
}

// printf's "%03d".
void AppendThreeDigits(AnsiString& out, int value) {
  char digits[12];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (text.size() >= 3) {
    out += text;
    return;
  }
  if (text.front() == '-') {
    out += '-';
    text.remove_prefix(1);
  }
  out.append(3 - text.size() - (value < 0 ? 1 : 0), '0');
  out += text;
}

bool IsCSpace(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }

// sscanf's "%d" of a short group; 0 when it holds no number.
int ScanInt(std::string_view group) {
  std::size_t at = 0;
  while (at < group.size() && IsCSpace(static_cast<unsigned char>(group[at]))) {
    ++at;
  }
  bool negative = false;
  if (at < group.size() && (group[at] == '-' || group[at] == '+')) {
    negative = group[at++] == '-';
  }
  int value = 0;
  for (; at < group.size() && group[at] >= '0' && group[at] <= '9'; ++at) {
    value = value * 10 + (group[at] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

AnsiString SzyfrujHaslo(const AnsiString& haslo) {
  AnsiString out;
  out.reserve(haslo.size() * 3);
  for (std::size_t i = 0; i < haslo.size(); ++i) {
    const int code = static_cast<std::int8_t>(haslo[i]);
    AppendThreeDigits(out, code + Shift(i));
  }
  return out;
}

AnsiString DeSzyfrujHaslo(const AnsiString& zaszyfrowane) {
  AnsiString out;
  const std::string_view text(zaszyfrowane);
  for (std::size_t k = 0; 3 * k + 3 <= text.size(); ++k) {
    const int value = ScanInt(text.substr(3 * k, 3)) - Shift(k);
    out += static_cast<char>(static_cast<unsigned char>(value & 0xFF));
  }
  return out;
}

AnsiString tlGetServStr(const AnsiString& s) { return s.empty() ? " " : s; }

AnsiString tlGetLocalStr(const AnsiString& s) { return Trim(s); }

void ShowSQL(const AnsiString& plik, const AnsiString& sql) {
  Plik file;
  if (file.Open(plik, FileOpenAlways, kReadWrite) != 0) return;
  file.Lseek(0, FileEnd);
  file.BinaryPuts(sql);
}

void ShowSQL(const AnsiString& plik, TStrings* linie) {
  if (linie == nullptr) return;
  Plik file;
  if (file.Open(plik, FileOpenAlways, kReadWrite) != 0) return;
  for (int i = 0; i < linie->Count(); ++i) {
    file.BinaryPuts(WideToAnsi(Trim(linie->Strings(i))));
  }
}

void ShowInfo(const AnsiString& komunikat) {
  ShowMessageBox(AnsiToWide(komunikat), u"Debug Info", kMessageBoxStop);
}

}  // namespace druvo
