// The interface of the system's base library: translations, text tools,
// number tools, date tools, an integer set, a pointer list and a line writer.
//
// Positions are 0-based. Flags named ignoreCase mean: letter case ignored by
// the CP1250 case tables. Rounding is half away from zero on the shortest
// decimal text that reads back as the same double (2.675 -> 2.68).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

// Process-wide store of translated texts, empty by default so that every
// lookup returns its (Polish) default. Sections and keys are matched exactly;
// every call is safe from any thread.
class DRUVO_API TMLgTools {
 public:
  // The translation of `key` in `section`, else `fallback`. The integer
  // argument is the system's language slot and is not used.
  static WideString GetString(const AnsiString& section, const AnsiString& key,
                              int language, const WideString& fallback);
  static void SetString(const AnsiString& section, const AnsiString& key,
                        const WideString& text);
  // Loads a UTF-8 file of "[section]" headers and "key=value" lines (blank
  // lines and lines starting with ';' or '#' ignored). Raises Exception when
  // the file cannot be read. A leading BOM is skipped; section names and keys
  // are trimmed, the value is everything after the first '=' (CR LF or LF line
  // ends). Lines before the first header belong to section "". Entries are
  // added to (and override) what the store holds; a failed load changes
  // nothing.
  static void LoadFromFile(const std::string& path);
  static void Clear();
};

// Text tools over a copy of a text; every operation returns a new value.
// Searches find non-overlapping occurrences from left to right; an empty
// searched text is never found (FindStr -1, CountStr 0, Str2Str unchanged).
// A negative start counts as 0; ranges are clamped to the text.
class DRUVO_API TxTools {
 public:
  explicit TxTools(AnsiString text);

  const AnsiString& Text() const { return text_; }

  // 0 when equal; negative or positive otherwise.
  int Compare(std::string_view other, bool ignoreCase) const;
  bool ContainsStr(std::string_view word, bool ignoreCase) const;
  bool ContainsChar(char c) const;
  bool ContainsAnyChar(std::string_view set) const;
  bool ContainsAnyOtherChar(std::string_view set) const;
  AnsiString DelAnyOtherChar(std::string_view set) const;
  AnsiString AnyChar2Char(std::string_view set, char c) const;
  AnsiString Chars2Str(char c, std::string_view replacement) const;
  AnsiString Str2Str(std::string_view from, std::string_view to,
                     bool ignoreCase) const;
  int CountStr(std::string_view s, bool ignoreCase) const;
  // Position of the first `s` at or after `start`; -1 when none.
  int FindStr(std::string_view s, bool ignoreCase, int start) const;
  AnsiString ExtractFrom(int start, int count) const;
  AnsiString DelCharsFrom(int start, int count) const;
  // Appends the fields between separators to `list` (as wide lines) and
  // returns how many were appended. An empty text has no field; otherwise n
  // separators make n + 1 fields, empty ones included ("a;;b" gives "a", "",
  // "b"), so callers splitting words at blanks trim the text first. A null
  // list gets nothing and 0 is returned.
  int ParseLineFields(TStrings* list, char separator) const;

 private:
  AnsiString text_;
};

// Number tools over one double.
class DRUVO_API TxfTools {
 public:
  explicit TxfTools(double value = 0.0);

  double Value() const { return value_; }
  // The value rounded to `places` decimals, half away from zero, by decimal
  // digit arithmetic on the shortest text of the value (0.125 -> 0.13). A
  // negative `places` rounds to tens, hundreds, ... NaN, infinities and
  // values already within `places` come back unchanged, as does a result too
  // large for a double.
  double Round(int places) const;
  // Reads an optional '-', digits, and an optional '.' followed by digits.
  // Only base 10 is supported. With `strict`, anything else raises
  // EConvertError ("'TEXT' is not a valid floating point value", also for a
  // number beyond the range of a double); without it, false is returned and
  // the value is unchanged.
  bool FromString(std::string_view text, int base, bool strict);
  // Fixed notation with a dot, no grouping, rounded to maxDecimals places,
  // trailing zeros dropped down to minDecimals places, never "-0". A
  // minDecimals above maxDecimals counts as maxDecimals; NaN and infinities
  // give "NAN", "INF", "-INF".
  AnsiString ToDBField(int minDecimals, int maxDecimals) const;

 private:
  double value_;
};

// Date tools over one TDateTime.
class DRUVO_API TdtTools {
 public:
  explicit TdtTools(TDateTime date);

  TDateTime Value() const { return date_; }
  // -1, 0 or 1 when the wrapped date is on an earlier, the same or a later
  // calendar day than `other` (days as DecodeDate reads them).
  int DateCompare(TDateTime other) const;
  // Form 12: "dd.mm.yyyy"; form 13: "yyyymmdd". Other forms raise Exception.
  AnsiString ToString(int form) const;

 private:
  TDateTime date_;
};

// A set of ints without duplicates, kept in insertion order.
class DRUVO_API TMacSetOfIntegers {
 public:
  explicit TMacSetOfIntegers(int capacity = 100);

  bool Add(int value);  // false when already present
  void Clear();
  bool Contains(int value) const;
  int GetCount() const { return static_cast<int>(values_.size()); }
  // The i-th value in insertion order; raises EListError for a bad index.
  int GetValues(int index) const;
  void CopySet(const TMacSetOfIntegers& other);

 private:
  std::vector<int> values_;
};

// A non-owning list of pointers.
class DRUVO_API TMacList {
 public:
  explicit TMacList(int capacity = 100);

  int Add(void* item);  // returns the new index
  void Clear();
  int GetCount() const { return static_cast<int>(items_.size()); }
  // The i-th pointer; null for a bad index.
  void* GetItems(int index) const;

 private:
  std::vector<void*> items_;
};

// A line writer over one output file, closed by the destructor (which never
// raises; call Close to learn of a failing flush).
class DRUVO_API TMFile {
 public:
  TMFile();
  // Opens (creating or, unless `append`, truncating) `path`; raises Exception
  // ("Cannot open file 'PATH'") when the file cannot be opened. Open first
  // closes a file that is still open.
  explicit TMFile(const std::string& path, bool append = false);
  ~TMFile();
  TMFile(const TMFile&) = delete;
  TMFile& operator=(const TMFile&) = delete;

  void Open(const std::string& path, bool append = false);
  bool IsOpen() const { return file_ != nullptr; }
  // Appends `line` and `terminator` and hands them to the system at once, so
  // the write that fails raises Exception ("Cannot write to file 'PATH'");
  // also raises when no file is open.
  void WriteLine(std::string_view line, std::string_view terminator = "\r\n");
  // Flushes and closes; raises Exception when the flush fails.
  void Close();

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

}  // namespace druvo
