#include "druvo/util/PLIK95.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "druvo/platform/FindFile.h"

namespace druvo {

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;

bool AnyEntry(const AnsiString& name, int attr) {
  TSearchRec found;
  const bool exists = FindFirst(name, attr, found) == 0;
  FindClose(found);
  return exists;
}

}  // namespace

Plik::Plik() = default;

Plik::~Plik() { Close(); }

int Plik::Open(const char* nazwa, unsigned tryb, unsigned dostep) {
  return Open(AnsiString(nazwa != nullptr ? nazwa : ""), tryb, dostep);
}

int Plik::Open(const AnsiString& nazwa, unsigned tryb, unsigned dostep) {
  const FileHandle previous = handle_;
  handle_ = FileOpen(nazwa, dostep, 0, tryb);
  if (previous != InvalidFileHandle) FileClose(previous);
  return handle_ != InvalidFileHandle ? 0 : -1;
}

int Plik::Close() {
  if (handle_ == InvalidFileHandle) return -1;
  const bool closed = FileClose(handle_);
  handle_ = InvalidFileHandle;
  return closed ? 0 : -1;
}

int Plik::Write(const void* buf, int n) {
  if (handle_ == InvalidFileHandle || n < 0 || (buf == nullptr && n > 0)) {
    return -1;
  }
  std::size_t done = 0;
  return FileWrite(handle_, buf, static_cast<std::size_t>(n), done) ? 0 : -1;
}

int Plik::Read(void* buf, int n) {
  if (handle_ == InvalidFileHandle || n < 0 || (buf == nullptr && n > 0)) {
    return -1;
  }
  std::size_t done = 0;
  if (!FileRead(handle_, buf, static_cast<std::size_t>(n), done)) return -1;
  if (done == static_cast<std::size_t>(n)) return 0;
  return done == 0 ? -2 : -1;
}

void Plik::Lseek(long offset, int skad) {
  if (handle_ == InvalidFileHandle) return;
  if (skad != FileCurrent && skad != FileEnd) skad = FileBegin;
  std::int64_t position = 0;
  FileSeek(handle_, offset, skad, position);
}

long Plik::Pos() {
  std::int64_t position = 0;
  if (handle_ == InvalidFileHandle ||
      !FileSeek(handle_, 0, FileCurrent, position)) {
    return 0;
  }
  return static_cast<long>(position);
}

int Plik::BinaryPuts(const char* s) {
  if (s == nullptr) return -1;
  return BinaryPuts(AnsiString(s));
}

int Plik::BinaryPuts(const AnsiString& s) {
  // One write for the line and its end, so that a line is either handed to
  // the system whole or reported as failed.
  AnsiString line;
  line.reserve(s.size() + 2);
  line += s;
  line += "\r\n";
  if (line.size() > static_cast<std::size_t>(INT32_MAX)) return -1;
  return Write(line.data(), static_cast<int>(line.size()));
}

int Plik::ReadByte(unsigned char& c) { return Read(&c, 1); }

int Plik::Gets(char* buf, int rozmiar) {
  // Without room for the terminating zero nothing can be returned.
  if (buf == nullptr || rozmiar < 1) return -1;
  int count = 0;
  for (;;) {
    unsigned char c = 0;
    const int result = ReadByte(c);
    if (result != 0) {
      buf[count] = '\0';
      if (result == -2 && count > 0) return 0;
      return -1;
    }
    if (c == kLf || count == rozmiar - 1) break;
    if (c != kCr) buf[count++] = static_cast<char>(c);
  }
  buf[count] = '\0';
  return 0;
}

int Plik::Gets(AnsiString& wiersz) {
  wiersz.clear();
  if (handle_ == InvalidFileHandle) return -1;
  for (;;) {
    unsigned char c = 0;
    const int result = ReadByte(c);
    if (result == -2) return wiersz.empty() ? -1 : 0;
    if (result != 0) return -1;
    if (c == kLf) return 0;
    if (c != kCr) wiersz += static_cast<char>(c);
    if (wiersz.size() > static_cast<std::size_t>(MaxLineLength)) return 0;
  }
}

int Plik::BinaryGets(unsigned char* buf, int rozmiar, int& dlugosc) {
  dlugosc = 0;
  if (handle_ == InvalidFileHandle) return -1;
  // False when the buffer is full: the line ends and `c` is lost.
  auto store = [&](unsigned char c) {
    if (buf == nullptr || dlugosc >= rozmiar) return false;
    buf[dlugosc++] = c;
    return true;
  };
  for (;;) {
    unsigned char c = 0;
    int result = ReadByte(c);
    if (result == -2) return 0;
    if (result != 0) return -1;
    if (c == kCr) {
      result = ReadByte(c);
      if (result == -2) {
        store(kCr);
        return 0;
      }
      if (result != 0) return -1;
      if (c == kLf) return 0;
      if (!store(kCr)) return 0;
    }
    if (!store(c)) return 0;
  }
}

int Plik::GetsExt(char* /*buf*/, int /*rozmiar*/) { return 0; }

bool Plik::FindTextA(const AnsiString& nazwa, const AnsiString& wzorzec) {
  if (wzorzec.empty() || wzorzec.size() > MaxPatternLength) return false;
  Plik file;
  if (file.Open(nazwa, FileOpenExisting, FileGenericRead) != 0) return false;
  std::vector<char> block(SearchBlock);
  for (;;) {
    std::size_t got = 0;
    if (!FileRead(file.handle_, block.data(), block.size(), got)) return false;
    if (std::string_view(block.data(), got).find(wzorzec) !=
        std::string_view::npos) {
      return true;
    }
    if (got < block.size()) return false;
    // Back by the overlap, so that a match across the block's end is found
    // whole in the next block.
    file.Lseek(-SearchOverlap, FileCurrent);
  }
}

bool Plik::CzyIstnieje(const AnsiString& nazwa) {
  return AnyEntry(nazwa, faAnyFile);
}

bool Plik::CzyIstniejeKatalog(const AnsiString& nazwa) {
  return AnyEntry(nazwa, faDirectory);
}

}  // namespace druvo
