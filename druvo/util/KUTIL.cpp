#include "druvo/util/KUTIL.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string_view>

#include "druvo/platform/Exceptions.h"
#include "druvo/util/KorbLib.h"

namespace druvo {

namespace {

const char* const kSection = "Druvo_KUTIL";

// ---- C printing and scanning, independent of the C locale ----

// White space as the C locale's isspace sees it.
bool IsCSpace(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned char AsciiLower(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Appends `value` as printf's "%d" with the '0' flag (`zeroPad`) and a
// minimum field width.
void AppendInt(AnsiString& out, int value, bool zeroPad, int width) {
  char digits[16];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  std::string_view text(digits, static_cast<size_t>(end - digits));
  const int padding = width - static_cast<int>(text.size());
  if (padding <= 0) {
    out += text;
  } else if (!zeroPad) {
    out.append(static_cast<size_t>(padding), ' ');
    out += text;
  } else {
    if (text.front() == '-') {
      out += '-';
      text.remove_prefix(1);
    }
    out.append(static_cast<size_t>(padding), '0');
    out += text;
  }
}

// printf over int arguments: "%d" and "%i" with an optional '0' flag and
// width, "%%", and literal characters.
AnsiString FormatInts(std::string_view format,
                      std::initializer_list<int> values) {
  AnsiString out;
  const int* next = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    ++i;
    if (i < format.size() && format[i] == '%') {
      out += '%';
      continue;
    }
    bool zeroPad = false;
    for (; i < format.size() && format[i] == '0'; ++i) zeroPad = true;
    int width = 0;
    for (; i < format.size() && IsDigit(format[i]); ++i) {
      width = width * 10 + (format[i] - '0');
    }
    // The conversion letter (d or i) follows; the next argument is printed.
    AppendInt(out, next != values.end() ? *next++ : 0, zeroPad, width);
  }
  return out;
}

// The number of scanf's "%d" at `pos` (after its white space): an optional
// sign and digits, at most `maxChars` characters in all (0: no limit). The
// digits wrap around modulo 2^32 as a plain accumulation does.
bool ScanInt(std::string_view text, size_t& pos, int maxChars, int& value) {
  const size_t limit =
      maxChars > 0 ? std::min(text.size(), pos + static_cast<size_t>(maxChars))
                   : text.size();
  size_t at = pos;
  bool negative = false;
  if (at < limit && (text[at] == '-' || text[at] == '+')) {
    negative = text[at] == '-';
    ++at;
  }
  const size_t digitsStart = at;
  uint32_t magnitude = 0;
  for (; at < limit && IsDigit(text[at]); ++at) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[at] - '0');
  }
  if (at == digitsStart) return false;
  pos = at;
  value = static_cast<int>(negative ? 0u - magnitude : magnitude);
  return true;
}

// scanf over int targets with a format of literals, white space and "%d" /
// "%Nd" (N the most characters read). Returns the number of values stored,
// or -1 when the text ended before the first one.
int ScanInts(std::string_view text, std::string_view format,
             std::initializer_list<int*> targets) {
  size_t pos = 0;
  int stored = 0;
  const auto inputEnded = [&] { return stored == 0 ? -1 : stored; };
  int* const* target = targets.begin();
  for (size_t f = 0; f < format.size(); ++f) {
    const unsigned char fc = static_cast<unsigned char>(format[f]);
    if (IsCSpace(fc)) {
      while (pos < text.size() && IsCSpace(text[pos])) ++pos;
    } else if (fc != '%') {
      if (pos >= text.size()) return inputEnded();
      if (text[pos] != format[f]) return stored;
      ++pos;
    } else {
      int width = 0;
      for (++f; f < format.size() && IsDigit(format[f]); ++f) {
        width = width * 10 + (format[f] - '0');
      }
      while (pos < text.size() && IsCSpace(text[pos])) ++pos;
      if (pos >= text.size()) return inputEnded();
      int value = 0;
      if (!ScanInt(text, pos, width, value)) return stored;
      if (target != targets.end()) **target++ = value;
      ++stored;
    }
  }
  return stored;
}

// Length of the case-insensitive `word` at the start of `text`.
size_t MatchWord(std::string_view text, std::string_view word) {
  size_t i = 0;
  while (i < word.size() && i < text.size() &&
         AsciiLower(text[i]) == static_cast<unsigned char>(word[i])) {
    ++i;
  }
  return i;
}

// Extent of a decimal (with `hex`, hexadecimal) mantissa with an optional
// point, followed by an exponent only when that has digits. Returns the
// characters used, 0 when there is no digit. `magnitude` receives a rough
// power of the radix of the value (positive for large, not above 0 for small
// values), which tells an overflow from an underflow.
size_t ScanMantissa(std::string_view text, bool hex, long& magnitude) {
  const auto isDigit = [hex](unsigned char c) {
    return hex ? IsHexDigit(c) : IsDigit(c);
  };
  size_t at = 0;
  long significantBefore = 0;
  long zerosAfter = 0;
  bool seenNonZero = false;
  bool anyDigit = false;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    anyDigit = true;
    if (text[at] != '0') seenNonZero = true;
    if (seenNonZero) ++significantBefore;
  }
  if (at < text.size() && text[at] == '.') {
    ++at;
    for (; at < text.size() && isDigit(text[at]); ++at) {
      anyDigit = true;
      if (text[at] != '0') seenNonZero = true;
      if (!seenNonZero) ++zerosAfter;
    }
  }
  if (!anyDigit) return 0;
  const char expLetter = hex ? 'p' : 'e';
  long exponent = 0;
  if (at < text.size() && AsciiLower(text[at]) == expLetter) {
    size_t e = at + 1;
    bool negative = false;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) {
      negative = text[e] == '-';
      ++e;
    }
    if (e < text.size() && IsDigit(text[e])) {
      for (; e < text.size() && IsDigit(text[e]); ++e) {
        exponent = std::min(exponent * 10 + (text[e] - '0'), 100000000L);
      }
      if (negative) exponent = -exponent;
      at = e;
    }
  }
  const long digitWeight = hex ? 4 : 1;
  magnitude =
      (significantBefore > 0 ? significantBefore : -zerosAfter) * digitWeight +
      exponent;
  return at;
}

// Reads the unsigned number at the start of `text` as scanf's "%lf" does
// after the sign; returns the characters used (0 when nothing matches).
size_t ScanUnsignedDouble(std::string_view text, double& value) {
  if (MatchWord(text, "inf") == 3) {
    const size_t more = MatchWord(text.substr(3), "inity");
    if (more != 0 && more != 5) return 0;
    value = std::numeric_limits<double>::infinity();
    return 3 + more;
  }
  if (MatchWord(text, "nan") == 3) {
    value = std::numeric_limits<double>::quiet_NaN();
    return 3;
  }
  const bool hex =
      text.size() >= 2 && text[0] == '0' && AsciiLower(text[1]) == 'x';
  const std::string_view body = hex ? text.substr(2) : text;
  long magnitude = 0;
  const size_t used = ScanMantissa(body, hex, magnitude);
  if (used == 0) return 0;
  const auto format = hex ? std::chars_format::hex : std::chars_format::general;
  auto [end, ec] =
      std::from_chars(body.data(), body.data() + used, value, format);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return (hex ? 2 : 0) + used;
}

// scanf's "%lf": white space skipped, an optional sign, a decimal or
// hexadecimal number, "inf"/"infinity" or "nan"; the rest is ignored.
bool ScanDouble(std::string_view text, double& value) {
  size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  double magnitude = 0.0;
  if (ScanUnsignedDouble(text.substr(pos), magnitude) == 0) return false;
  value = negative ? -magnitude : magnitude;
  return true;
}

// ---- Polish collation ----

// The Polish alphabet in CP1250, upper and lower case, in collation order.
constexpr std::string_view kUpperAlphabet =
    "A\xA5"
    "BC\xC6"
    "DE\xCA"
    "FGHIJKL\xA3"
    "MN\xD1"
    "O\xD3"
    "PQRS\x8C"
    "TUVWXYZ\x8F\xAF";
constexpr std::string_view kLowerAlphabet =
    "a\xB9"
    "bc\xE6"
    "de\xEA"
    "fghijkl\xB3"
    "mn\xF1"
    "o\xF3"
    "pqrs\x9C"
    "tuvwxyz\x9F\xBF";
static_assert(kUpperAlphabet.size() == 35 && kLowerAlphabet.size() == 35);

using WeightTable = std::array<int16_t, 256>;

// Weight of every byte after upper-casing: Polish letters 256 upward (upper
// case even, lower case odd), every other byte its signed 8-bit value.
WeightTable BuildUpperCaseWeights() {
  WeightTable byteWeight{};
  for (int b = 0; b < 256; ++b) {
    byteWeight[b] = static_cast<int16_t>(static_cast<signed char>(b));
  }
  for (size_t k = 0; k < kUpperAlphabet.size(); ++k) {
    const auto base = static_cast<int16_t>(256 + 2 * k);
    byteWeight[static_cast<unsigned char>(kUpperAlphabet[k])] = base;
    byteWeight[static_cast<unsigned char>(kLowerAlphabet[k])] =
        static_cast<int16_t>(base + 1);
  }
  WeightTable upperWeight{};
  for (int b = 0; b < 256; ++b) {
    upperWeight[b] = byteWeight[AnsiUpperChar(static_cast<unsigned char>(b))];
  }
  return upperWeight;
}

const int16_t* UpperCaseWeights() {
  static const WeightTable table = BuildUpperCaseWeights();
  return table.data();
}

// -1 or 1 when the weights of two different bytes differ, else 0.
inline int CompareBytes(const int16_t* weight, unsigned char a,
                        unsigned char b) {
  if (a == b) return 0;
  const int diff = weight[a] - weight[b];
  return diff == 0 ? 0 : (diff < 0 ? -1 : 1);
}

const unsigned char* Bytes(const char* text) {
  return reinterpret_cast<const unsigned char*>(text ? text : "");
}

// LkStrCmp over zero-terminated texts.
int CompareTexts(const char* a, const char* b) {
  const unsigned char* textA = Bytes(a);
  const unsigned char* textB = Bytes(b);
  const size_t lengthA = std::strlen(reinterpret_cast<const char*>(textA));
  const size_t lengthB = std::strlen(reinterpret_cast<const char*>(textB));
  const int16_t* weight = UpperCaseWeights();
  const size_t common = std::min(lengthA, lengthB);
  for (size_t i = 0; i < common; ++i) {
    if (const int order = CompareBytes(weight, textA[i], textB[i])) {
      return order;
    }
  }
  return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
}

// LkStrNCmp over zero-terminated texts.
int CompareTextsUpTo(const char* a, const char* b, int n) {
  const unsigned char* textA = Bytes(a);
  const unsigned char* textB = Bytes(b);
  const int16_t* weight = UpperCaseWeights();
  for (int i = 0; i < n; ++i) {
    const unsigned char ca = textA[i];
    const unsigned char cb = textB[i];
    if (ca == 0 || cb == 0) return ca == cb ? 0 : (ca == 0 ? -1 : 1);
    if (const int order = CompareBytes(weight, ca, cb)) return order;
  }
  return 0;
}

WideString Translated(const char* key, const WideString& fallback) {
  return TMLgTools::GetString(kSection, key, 0, fallback);
}

// ---- Dates ----

struct DateParts {
  unsigned short year = 0, month = 0, day = 0;
  unsigned short hour = 0, minute = 0, second = 0, msec = 0;
};

DateParts Decode(TDateTime value) {
  DateParts parts;
  DecodeDate(value, parts.year, parts.month, parts.day);
  DecodeTime(value, parts.hour, parts.minute, parts.second, parts.msec);
  return parts;
}

// Scanned date parts go to the encoding as the runtime's 16-bit words.
unsigned short Word(int value) { return static_cast<unsigned short>(value); }

}  // namespace

// ---- Fields ----

AnsiString LkCzytajPole(const AnsiString& text, char separator, int field) {
  AnsiString result;
  int separatorsSeen = 0;
  for (const char c : text) {
    if (separatorsSeen > field) break;
    if (c == separator) {
      ++separatorsSeen;
    } else if (separatorsSeen == field) {
      result += c;
    }
  }
  return result;
}

int LkIloscPol(const AnsiString& text, char separator) {
  return static_cast<int>(std::count(text.begin(), text.end(), separator)) + 1;
}

void LkSplitString(const AnsiString& text, char separator, TStrings* list) {
  if (list == nullptr) return;
  list->Clear();
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    const std::string_view field =
        std::string_view(text).substr(start, end - start);
    list->Add(AnsiToWide(field));
    if (end == AnsiString::npos) break;
    start = end + 1;
  }
}

void LkPodzielString(const AnsiString& text, TStrings* list, int width) {
  if (list == nullptr) return;
  list->Clear();
  if (text.empty()) return;
  if (width <= 0) {
    list->Add(AnsiToWide(text));
    return;
  }
  const size_t lastIndex = static_cast<size_t>(width) - 1;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t i = 0;
    size_t lastBlank = std::string_view::npos;
    while (i < rest.size()) {
      if (rest[i] == ' ') lastBlank = i;
      if (i == lastIndex) break;
      ++i;
    }
    if (i != lastIndex) {  // shorter than width - 1: the last line
      list->Add(AnsiToWide(rest));
      break;
    }
    if (lastBlank == std::string_view::npos) {
      list->Add(AnsiToWide(rest.substr(0, static_cast<size_t>(width))));
      rest.remove_prefix(std::min(rest.size(), static_cast<size_t>(width)));
    } else {
      list->Add(AnsiToWide(rest.substr(0, lastBlank)));
      rest.remove_prefix(lastBlank + 1);
    }
  }
}

// ---- Cleaning ----

AnsiString ClrCrLf(const AnsiString& text) {
  AnsiString result(text);
  for (char& c : result) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return result;
}

AnsiString LkClearChars(const AnsiString& text, const AnsiString& chars) {
  std::array<bool, 256> cleared{};
  for (const char c : chars) cleared[static_cast<unsigned char>(c)] = true;
  AnsiString result(text);
  for (char& c : result) {
    if (cleared[static_cast<unsigned char>(c)]) c = ' ';
  }
  return result;
}

AnsiString LkClrLeadZeros(const AnsiString& text) {
  const AnsiString trimmed = Trim(text);
  const size_t firstNonZero = trimmed.find_first_not_of('0');
  if (firstNonZero == AnsiString::npos) return AnsiString();
  return Trim(std::string_view(trimmed).substr(firstNonZero));
}

AnsiString LkStrBackSlashNotation(const AnsiString& text, char separator) {
  if (separator == '\\') {
    throw Exception(WideToAnsi(
        Translated("Exceptio", u"Separator nie może być znakiem: \\")));
  }
  AnsiString result;
  result.reserve(text.size() + text.size() / 4);
  for (const char c : text) {
    if (c == separator || c == '\\') result += '\\';
    result += c;
  }
  return result;
}

bool LkNipCompareOK(const AnsiString& a, const AnsiString& b) {
  AnsiString strippedA(a);
  AnsiString strippedB(b);
  std::erase(strippedA, '-');
  std::erase(strippedB, '-');
  return strippedA == strippedB;
}

// ---- Polish comparison and copying ----

int LkStrCmp(const AnsiString& a, const AnsiString& b) {
  return CompareTexts(a.c_str(), b.c_str());
}

int LkStrCmp(const char* a, const char* b) { return CompareTexts(a, b); }

int LkStrNCmp(const AnsiString& a, const AnsiString& b, int n) {
  return CompareTextsUpTo(a.c_str(), b.c_str(), n);
}

int LkStrNCmp(const char* a, const char* b, int n) {
  return CompareTextsUpTo(a, b, n);
}

char* LkStrNCpy(char* dst, const char* src, int n) {
  const size_t limit = n > 0 ? static_cast<size_t>(n) : 0;
  const size_t count = src ? strnlen(src, limit) : 0;
  if (count > 0) std::memcpy(dst, src, count);
  dst[count] = '\0';
  return dst;
}

// ---- SQL and VAT ----

double LkToDouble(const AnsiString& text) {
  AnsiString copy(text);
  const size_t comma = copy.find(',');
  if (comma != AnsiString::npos) copy[comma] = '.';
  double value = 0.0;
  return ScanDouble(copy, value) ? value : 0.0;
}

AnsiString LkToStringSQL(const AnsiString& text) { return "'" + text + "'"; }

AnsiString LkToFloatSQL(double value) {
  // A double in fixed notation takes at most 309 integer digits.
  char digits[400];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value,
                                       std::chars_format::fixed, 4);
  (void)ec;
  const std::string_view text(digits, static_cast<size_t>(end - digits));
  constexpr size_t kMinWidth = 6;
  AnsiString result;
  if (text.size() < kMinWidth) result.append(kMinWidth - text.size(), ' ');
  result += text;
  return result;
}

double LkVatNaL(int code) {
  if (code == -1 || code == -2 || code == -3) return 0.0;
  return code / 100.0;
}

AnsiString LkVatNaS(int code) {
  switch (code) {
    case -1:
      return "zw";
    case -2:
      return "np";
    case -3:
      return "";
    default:
      break;
  }
  AnsiString text = FormatInts("%d", {code / 100});
  if (code % 100 != 0) text += FormatInts(".%02d", {code % 100});
  return text + " %";
}

// ---- Windows paths ----

AnsiString LkGetFileDir(const AnsiString& path) {
  const size_t slash = path.rfind('\\');
  return slash == AnsiString::npos ? AnsiString() : path.substr(0, slash);
}

AnsiString LkGetFileName(const AnsiString& path) {
  const size_t slash = path.rfind('\\');
  return slash == AnsiString::npos ? path : path.substr(slash + 1);
}

AnsiString LkGetShortFileName(const AnsiString& path) {
  AnsiString name = LkGetFileName(path);
  const size_t dot = name.rfind('.');
  if (dot != AnsiString::npos) name.erase(dot);
  return name;
}

AnsiString LkGetFileExt(const AnsiString& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('\\');
  if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash)) {
    return AnsiString();
  }
  return path.substr(dot + 1);
}

AnsiString LkPrepareDir(const AnsiString& dir) {
  if (!dir.empty() && dir.back() == '\\') return dir;
  return dir + '\\';
}

bool LkStrFileCompare(const AnsiString& mask, const AnsiString& path) {
  const AnsiString pattern = Trim(mask);
  if (pattern.empty()) return true;
  const AnsiString name = Trim(LkGetShortFileName(path));
  // Greedy wildcard match; after a mismatch the last '*' takes one more
  // character.
  size_t p = 0;
  size_t n = 0;
  size_t starAt = AnsiString::npos;
  size_t starMatchEnd = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      starMatchEnd = n;
    } else if (starAt != AnsiString::npos) {
      p = starAt + 1;
      n = ++starMatchEnd;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// ---- Numbers ----

int sign(double value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

int sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

double frac(double x) { return x - std::floor(x); }

int iround(const double& x) {
  if (std::isnan(x)) return 0;
  const double whole = std::floor(x);
  if (whole >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (whole < static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  const int i = static_cast<int>(whole);
  return x - i >= 0.5 ? i + 1 : i;
}

double round(double x, int places) { return TxfTools(x).Round(places); }

double round2(double x, int places) {
  const double scale = std::pow(10.0, places);
  const double scaled = x * scale;
  const double whole = std::floor(scaled);
  return scaled - whole >= 0.499999999 ? (whole + 1) / scale : whole / scale;
}

double roundUD(const double& x, int places, int up) {
  const double scale = std::pow(10.0, places);
  const double scaled = x * scale;
  double whole = std::floor(scaled);
  if (up > 0 && scaled > whole) whole += 1;
  return whole / scale;
}

// ---- Date texts ----

AnsiString Data2String(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("%02d.%02d.%04d", {p.day, p.month, p.year});
}

AnsiString Data2SQLString(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("'%04d-%02d-%02d'", {p.year, p.month, p.day});
}

AnsiString DataCzas2String(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("%02d.%02d.%04d %02d:%02d",
                    {p.day, p.month, p.year, p.hour, p.minute});
}

AnsiString DataCzas2StringEx(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("%02d.%02d.%04d %02d:%02d:%02d",
                    {p.day, p.month, p.year, p.hour, p.minute, p.second});
}

AnsiString DataCzas2StringNoSep(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("%04d%02d%02d%02d%02d%02d",
                    {p.year, p.month, p.day, p.hour, p.minute, p.second});
}

AnsiString DataCzas2StringNoSepEx(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts(
      "%04d%02d%02d%02d%02d%02d%03d",
      {p.year, p.month, p.day, p.hour, p.minute, p.second, p.msec});
}

AnsiString DataCzas2StringFN(TDateTime date) {
  const DateParts p = Decode(date);
  return FormatInts("_%04d-%02d-%02d_%02d-%02d",
                    {p.year, p.month, p.day, p.hour, p.minute});
}

AnsiString FmtNrTyg2String(int weekValue) {
  return FormatInts("%i / %i", {weekValue % 100, weekValue / 100});
}

// ---- Date input ----

// Parts that do not scan stay 0, which no date encoding accepts.
TDateTime String2Data(const AnsiString& text) {
  int day = 0, month = 0, year = 0;
  if (text.find('.') != AnsiString::npos) {
    ScanInts(text, "%02d.%02d.%04d", {&day, &month, &year});
  } else {
    ScanInts(text, "%04d%02d%02d", {&year, &month, &day});
  }
  return EncodeDate(Word(year), Word(month), Word(day));
}

TDateTime SQLString2Data(const AnsiString& text) {
  int day = 0, month = 0, year = 0;
  ScanInts(text, "'%04d-%02d-%02d'", {&year, &month, &day});
  TDateTime date = 0.0;
  return TryEncodeDate(Word(year), Word(month), Word(day), date) ? date : 0.0;
}

namespace {

bool ScanDate(const char* text, TDateTime& date) {
  int day = 0, month = 0, year = 0;
  if (ScanInts(text ? text : "", "%d.%d.%d", {&day, &month, &year}) != 3) {
    return false;
  }
  return TryEncodeDate(Word(year), Word(month), Word(day), date);
}

bool ScanTime(const char* text, TDateTime& time) {
  int hour = 0, minute = 0;
  if (ScanInts(text ? text : "", "%d:%d", {&hour, &minute}) != 2) return false;
  return TryEncodeTime(Word(hour), Word(minute), 0, 0, time);
}

}  // namespace

int MakeDate(TDateTime& date, const char* text) {
  TDateTime scanned = 0.0;
  if (!ScanDate(text, scanned)) return -1;
  date = scanned;
  return 0;
}

int MakeTime(TDateTime& date, const char* text) {
  TDateTime scanned = 0.0;
  if (!ScanTime(text, scanned)) return -1;
  date = scanned;
  return 0;
}

int MakeDateTime(TDateTime& date, const char* dateText, const char* timeText) {
  TDateTime day = 0.0;
  TDateTime time = 0.0;
  if (!ScanDate(dateText, day) || !ScanTime(timeText, time)) return -1;
  date = day + time;
  return 0;
}

// ---- Morvik packed form ----

unsigned char* ToMorvikDate(const TDateTime& date, unsigned char* bytes) {
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  bytes[0] = static_cast<unsigned char>(year / 100);
  bytes[1] = static_cast<unsigned char>(year % 100);
  bytes[2] = static_cast<unsigned char>(month);
  bytes[3] = static_cast<unsigned char>(day);
  return bytes;
}

unsigned char* ToMorvikTime(const TDateTime& date, unsigned char* bytes) {
  unsigned short hour = 0, minute = 0, second = 0, msec = 0;
  DecodeTime(date, hour, minute, second, msec);
  bytes[0] = static_cast<unsigned char>(hour);
  bytes[1] = static_cast<unsigned char>(minute);
  bytes[2] = static_cast<unsigned char>(second);
  return bytes;
}

int FromMorvikDateTime(TDateTime& date, const unsigned char* dateBytes,
                       const unsigned char* timeBytes) {
  const auto year =
      static_cast<unsigned short>(dateBytes[0] * 100 + dateBytes[1]);
  TDateTime day = 0.0;
  TDateTime time = 0.0;
  if (!TryEncodeDate(year, dateBytes[2], dateBytes[3], day) ||
      !TryEncodeTime(timeBytes[0], timeBytes[1], timeBytes[2], 0, time)) {
    return -1;
  }
  date = day + time;
  return 0;
}

// ---- Calendar facts ----

int LkYear(TDateTime date) {
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return year;
}

int LkMonth(TDateTime date) {
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  return month;
}

int LkDaysInMonth(int month, int year) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2: {
      const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
      return leap ? 29 : 28;
    }
    default:
      return 0;
  }
}

int GetSecondsFromDate(TDateTime date) {
  if (!std::isfinite(date)) return 0;
  return static_cast<int>((date - std::trunc(date)) * 3600 * 24);
}

int LkWeekOfTheYear(TDateTime date) {
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  const TDateTime newYear = EncodeDate(year, 1, 1);
  const int newYearWeekday = DayOfWeek(newYear);
  const int daysSinceNewYear =
      static_cast<int>(date) - static_cast<int>(newYear);
  return (daysSinceNewYear + newYearWeekday - 1) / 7 + 1;
}

int QFmtNrTygRoku(TDateTime date) {
  return LkYear(date) * 100 + LkWeekOfTheYear(date);
}

AnsiString LkMonth2String(int month) {
  static const char16_t* const kNames[12] = {
      u"styczeń",  u"luty",        u"marzec",   u"kwiecień",
      u"maj",      u"czerwiec",    u"lipiec",   u"sierpień",
      u"wrzesień", u"październik", u"listopad", u"grudzień"};
  if (month < 1 || month > 12) return AnsiString();
  const AnsiString key = FormatInts("AnsiStri_%05d", {month - 1});
  return WideToAnsi(TMLgTools::GetString(kSection, key, 0, kNames[month - 1]));
}

}  // namespace druvo
