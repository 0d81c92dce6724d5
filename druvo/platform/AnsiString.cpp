#include "druvo/platform/AnsiString.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

namespace druvo {

namespace {

// Code point of every CP1250 byte. The five bytes CP1250 leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) stand for the code points of the same value.
constexpr std::array<char16_t, 256> kAnsiToWide = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,  // 00
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,  // 08
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,  // 10
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,  // 18
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,  // 20
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,  // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 38
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,  // 40
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,  // 48
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,  // 50
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,  // 58
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,  // 60
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,  // 68
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,  // 70
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,  // 78
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// The highest code point CP1250 holds is U+2122 (trade mark sign).
constexpr std::size_t kWideToAnsiSize = 0x2123;

// Byte of every code point below kWideToAnsiSize; 0 means "not in CP1250"
// (U+0000 itself is handled by the ASCII path).
constexpr std::array<unsigned char, kWideToAnsiSize> MakeWideToAnsi() {
  std::array<unsigned char, kWideToAnsiSize> table{};
  for (int byte = 1; byte < 256; ++byte) {
    table[kAnsiToWide[byte]] = static_cast<unsigned char>(byte);
  }
  return table;
}
constexpr auto kWideToAnsi = MakeWideToAnsi();

// Upper/lower pairs of CP1250 letters beyond ASCII, from the simple Unicode
// case mapping of each byte's code point (only pairs that both lie in CP1250).
// µ (0xB5) and ß (0xDF) have no partner in CP1250 and keep their byte.
struct CasePair {
  unsigned char upper;
  unsigned char lower;
};
constexpr CasePair kExtraCasePairs[] = {
    {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F},
    {0xA3, 0xB3}, {0xA5, 0xB9}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xBC, 0xBE},
};

enum LetterKind : unsigned char { kNotLetter = 0, kUpper = 1, kLower = 2 };

struct CaseTables {
  std::array<unsigned char, 256> upper{};
  std::array<unsigned char, 256> lower{};
  std::array<unsigned char, 256> kind{};
};

constexpr void AddPair(CaseTables& tables, int upper, int lower) {
  tables.upper[lower] = static_cast<unsigned char>(upper);
  tables.lower[upper] = static_cast<unsigned char>(lower);
  tables.kind[upper] = kUpper;
  tables.kind[lower] = kLower;
}

constexpr CaseTables MakeCaseTables() {
  CaseTables tables;
  for (int byte = 0; byte < 256; ++byte) {
    tables.upper[byte] = tables.lower[byte] = static_cast<unsigned char>(byte);
  }
  for (int upper = 'A'; upper <= 'Z'; ++upper)
    AddPair(tables, upper, upper + 32);
  for (const CasePair& pair : kExtraCasePairs)
    AddPair(tables, pair.upper, pair.lower);
  for (int upper = 0xC0; upper <= 0xDE; ++upper) {
    if (upper != 0xD7) AddPair(tables, upper, upper + 32);  // not × / ÷
  }
  tables.kind[0xB5] = kLower;  // µ
  tables.kind[0xDF] = kLower;  // ß
  return tables;
}
constexpr CaseTables kCase = MakeCaseTables();

constexpr unsigned char kReplacement = '?';
constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;

unsigned char CodePointToAnsi(char32_t code) {
  if (code < 0x80) return static_cast<unsigned char>(code);
  if (code < kWideToAnsiSize && kWideToAnsi[code] != 0)
    return kWideToAnsi[code];
  return kReplacement;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the UTF-8 sequence at `pos` and moves past it. A malformed sequence
// gives kInvalidCodePoint and is skipped as its longest well-formed prefix (at
// least one byte), so that each fault yields one replacement character.
char32_t DecodeUtf8(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos++]);
  if (lead < 0x80) return lead;
  int more = 0;
  char32_t code = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return kInvalidCodePoint;
  }
  for (int i = 0; i < more; ++i) {
    if (pos >= utf8.size()) return kInvalidCodePoint;
    const auto next = static_cast<unsigned char>(utf8[pos]);
    const bool inRange =
        i == 0 ? (next >= low && next <= high) : IsContinuation(next);
    if (!inRange) return kInvalidCodePoint;
    code = (code << 6) | (next & 0x3F);
    ++pos;
  }
  return code;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Reads one code point of UTF-16 at `pos` and moves past it; a lone surrogate
// gives kInvalidCodePoint.
char32_t DecodeUtf16(std::u16string_view text, std::size_t& pos) {
  const char16_t unit = text[pos++];
  if (IsHighSurrogate(unit)) {
    if (pos < text.size() && IsLowSurrogate(text[pos])) {
      const char16_t low = text[pos++];
      return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (low - 0xDC00);
    }
    return kInvalidCodePoint;
  }
  if (IsLowSurrogate(unit)) return kInvalidCodePoint;
  return unit;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AppendUtf16(WideString& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
  } else {
    code -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code >> 10));
    out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  }
}

template <typename Unit>
bool IsBlank(Unit unit) {
  return static_cast<std::make_unsigned_t<Unit>>(unit) <= 32;
}

template <typename Unit>
std::basic_string_view<Unit> TrimView(std::basic_string_view<Unit> text,
                                      bool left, bool right) {
  std::size_t begin = 0, end = text.size();
  if (left) {
    while (begin < end && IsBlank(text[begin])) ++begin;
  }
  if (right) {
    while (end > begin && IsBlank(text[end - 1])) --end;
  }
  return text.substr(begin, end - begin);
}

template <typename Map>
AnsiString MapBytes(std::string_view text, Map map) {
  AnsiString result(text);
  for (char& c : result)
    c = static_cast<char>(map(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace

char16_t AnsiCharToWide(unsigned char c) { return kAnsiToWide[c]; }

WideString AnsiToWide(std::string_view text) {
  WideString result(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    result[i] = kAnsiToWide[static_cast<unsigned char>(text[i])];
  }
  return result;
}

AnsiString WideToAnsi(std::u16string_view text) {
  AnsiString result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    result += static_cast<char>(CodePointToAnsi(DecodeUtf16(text, pos)));
  }
  return result;
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
  AnsiString result;
  result.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    result += static_cast<char>(CodePointToAnsi(DecodeUtf8(utf8, pos)));
  }
  return result;
}

std::string AnsiToUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 4);
  for (char c : text)
    AppendUtf8(result, kAnsiToWide[static_cast<unsigned char>(c)]);
  return result;
}

WideString Utf8ToWide(std::string_view utf8) {
  WideString result;
  result.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t code = DecodeUtf8(utf8, pos);
    AppendUtf16(result,
                code == kInvalidCodePoint ? char32_t{kReplacement} : code);
  }
  return result;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t code = DecodeUtf16(text, pos);
    AppendUtf8(result,
               code == kInvalidCodePoint ? char32_t{kReplacement} : code);
  }
  return result;
}

bool AnsiIsLetter(unsigned char c) { return kCase.kind[c] != kNotLetter; }
bool AnsiIsUpper(unsigned char c) { return kCase.kind[c] == kUpper; }
bool AnsiIsLower(unsigned char c) { return kCase.kind[c] == kLower; }
unsigned char AnsiUpperChar(unsigned char c) { return kCase.upper[c]; }
unsigned char AnsiLowerChar(unsigned char c) { return kCase.lower[c]; }

AnsiString AnsiUpperCase(std::string_view text) {
  return MapBytes(text, AnsiUpperChar);
}
AnsiString AnsiLowerCase(std::string_view text) {
  return MapBytes(text, AnsiLowerChar);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int left = kCase.upper[static_cast<unsigned char>(a[i])];
    const int right = kCase.upper[static_cast<unsigned char>(b[i])];
    if (left != right) return left - right;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

char16_t WideUpperChar(char16_t c) {
  const unsigned char byte = CodePointToAnsi(c);
  if (byte == kReplacement && c != u'?') return c;  // not in CP1250
  return kAnsiToWide[kCase.upper[byte]];
}

char16_t WideLowerChar(char16_t c) {
  const unsigned char byte = CodePointToAnsi(c);
  if (byte == kReplacement && c != u'?') return c;
  return kAnsiToWide[kCase.lower[byte]];
}

WideString WideUpperCase(std::u16string_view text) {
  WideString result(text);
  for (char16_t& c : result) c = WideUpperChar(c);
  return result;
}

WideString WideLowerCase(std::u16string_view text) {
  WideString result(text);
  for (char16_t& c : result) c = WideLowerChar(c);
  return result;
}

int WideCompareText(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int left = WideUpperChar(a[i]);
    const int right = WideUpperChar(b[i]);
    if (left != right) return left - right;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool WideSameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && WideCompareText(a, b) == 0;
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
  const int order = a.compare(b);  // char_traits<char> compares as unsigned
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

AnsiString Trim(std::string_view text) {
  return AnsiString(TrimView(text, true, true));
}
AnsiString TrimLeft(std::string_view text) {
  return AnsiString(TrimView(text, true, false));
}
AnsiString TrimRight(std::string_view text) {
  return AnsiString(TrimView(text, false, true));
}
WideString Trim(std::u16string_view text) {
  return WideString(TrimView(text, true, true));
}

}  // namespace druvo
