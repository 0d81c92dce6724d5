// Plik: the owner of one open file, with byte and line reading and writing,
// a text search and two existence checks.
//
// Results are int, 0 on success and -1 on failure (Read gives -2 at the end
// of the file); nothing raises. Dispositions and access flags are the Windows
// ones (druvo/platform/File.h): a file is opened without sharing, so no
// second opener gets it while it is open. A Plik is not copyable and closes
// its file when destroyed. Opening over an open file keeps the old file open
// during the attempt (so reopening the same file fails) and then closes it.
// Lines are read one byte at a time, so the file position after a line is
// just behind it:
// - Gets(char*, size) stores at most size - 1 bytes and a zero, drops CR and
//   LF, and loses the byte that finds the buffer full;
// - Gets(AnsiString&) drops CR and LF and ends a line after 16385 bytes;
// - BinaryGets keeps a CR that no LF follows and ends a line when the buffer
//   is full; it writes no zero.
// FindTextA opens the named file itself (this object's own file is left as
// it is) and searches it in blocks of 6000 bytes that overlap by 200.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/File.h"

namespace druvo {

class DRUVO_API Plik {
 public:
  // The longest line Gets(AnsiString&) returns is one byte more.
  static constexpr int MaxLineLength = 16384;
  // FindTextA: the longest pattern, the block and its overlap.
  static constexpr int MaxPatternLength = 128;
  static constexpr int SearchBlock = 6000;
  static constexpr int SearchOverlap = 200;

  Plik();
  ~Plik();
  Plik(const Plik&) = delete;
  Plik& operator=(const Plik&) = delete;

  int Open(const char* nazwa, unsigned tryb, unsigned dostep);
  int Open(const AnsiString& nazwa, unsigned tryb, unsigned dostep);
  // 0 when an open file was closed; -1 when none was open or closing failed
  // (the object is closed afterwards either way).
  int Close();

  int Write(const void* buf, int n);
  // 0 for exactly n bytes, -2 for none at the end of the file (n >= 1), -1
  // for fewer (they are in buf), a failed read or no open file.
  int Read(void* buf, int n);
  // skad: 0 from the start, 1 from the current position, 2 from the end; any
  // other value counts as 0.
  void Lseek(long offset, int skad);
  long Pos();

  // The bytes of s, then CR and LF.
  int BinaryPuts(const char* s);
  int BinaryPuts(const AnsiString& s);

  int Gets(char* buf, int rozmiar);
  int Gets(AnsiString& wiersz);
  int BinaryGets(unsigned char* buf, int rozmiar, int& dlugosc);
  int GetsExt(char* buf, int rozmiar);

  bool FindTextA(const AnsiString& nazwa, const AnsiString& wzorzec);
  // Any entry matching `nazwa` (wildcards allowed), hidden ones included.
  bool CzyIstnieje(const AnsiString& nazwa);
  // An ordinary file or directory matching `nazwa`; hidden and system
  // entries do not count.
  bool CzyIstniejeKatalog(const AnsiString& nazwa);

  bool IsOpen() const { return handle_ != InvalidFileHandle; }

 private:
  // One byte: 0, -2 at the end of the file, -1 on failure.
  int ReadByte(unsigned char& c);

  FileHandle handle_ = InvalidFileHandle;
};

}  // namespace druvo
