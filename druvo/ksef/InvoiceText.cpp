#include "druvo/ksef/InvoiceText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/xml/UVlqXml.h"

namespace druvo {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class Encoding { kUtf8, kCp1250, kIso88592, kAscii };

// Code points of ISO-8859-2 bytes 0xA0 to 0xFF (below 0xA0 a byte is its
// own code point).
constexpr std::array<char16_t, 96> kIso88592Upper = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8,
    0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105,
    0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F,
    0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102,
    0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A,
    0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150,
    0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162,
    0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111,
    0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F,
    0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

// CP1250 byte of each code point below 0x10000; 0 where CP1250 has none
// (code point 0 itself is handled apart).
class Cp1250Table {
 public:
  Cp1250Table() : bytes_(0x10000, 0) {
    for (int b = 1; b < 256; ++b) {
      bytes_[AnsiCharToWide(static_cast<unsigned char>(b))] =
          static_cast<unsigned char>(b);
    }
  }
  // The byte of `code`, or 0 when CP1250 lacks it.
  unsigned char Find(char32_t code) const {
    if (code == 0) return 0;
    return code < 0x10000 ? bytes_[code] : 0;
  }

 private:
  std::vector<unsigned char> bytes_;
};

const Cp1250Table& Cp1250() {
  static const Cp1250Table table;
  return table;
}

std::string Lowercase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

Encoding EncodingNamed(const std::string& name) {
  const std::string key = Lowercase(name);
  if (key.empty() || key == "utf-8" || key == "utf8") return Encoding::kUtf8;
  if (key == "windows-1250" || key == "cp1250" || key == "x-cp1250" ||
      key == "cp-1250" || key == "win-1250") {
    return Encoding::kCp1250;
  }
  if (key == "iso-8859-2" || key == "iso8859-2" || key == "iso_8859-2" ||
      key == "latin2" || key == "l2" || key == "iso-ir-101" ||
      key == "csisolatin2") {
    return Encoding::kIso88592;
  }
  if (key == "us-ascii" || key == "ascii") return Encoding::kAscii;
  throw Exception("unsupported encoding '" + name +
                  "' (supported: UTF-8, windows-1250, ISO-8859-2, US-ASCII)");
}

int LineAt(std::string_view bytes, std::size_t pos) {
  return 1 + static_cast<int>(std::count(
                 bytes.begin(), bytes.begin() + static_cast<long>(pos), '\n'));
}

// Appends the CP1250 form of `code`, found at byte `pos`, counting a loss.
void AppendCodePoint(char32_t code, std::string_view bytes, std::size_t pos,
                     DecodedText& out) {
  const unsigned char b = Cp1250().Find(code);
  if (b != 0 || code == 0) {
    out.Text += static_cast<char>(b);
    return;
  }
  out.Text += '?';
  if (out.LostCharacters++ == 0) {
    out.FirstLost = code;
    out.FirstLostLine = LineAt(bytes, pos);
  }
}

[[noreturn]] void ThrowInvalid(const char* what, std::string_view bytes,
                               std::size_t pos) {
  throw Exception(std::string("invalid ") + what + " at line " +
                  std::to_string(LineAt(bytes, pos)) + " (byte offset " +
                  std::to_string(pos) + ")");
}

// Decodes one multi-byte UTF-8 sequence starting at `pos` (a byte of 0x80 or
// above), advancing `pos`; raises Exception for a malformed sequence.
char32_t DecodeUtf8Sequence(std::string_view bytes, std::size_t& pos) {
  const std::size_t start = pos;
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  int extra;
  char32_t code;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, code = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, code = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, code = lead & 0x07, minimum = 0x10000;
  } else {
    ThrowInvalid("UTF-8", bytes, start);
  }
  if (bytes.size() - pos <= static_cast<std::size_t>(extra)) {
    ThrowInvalid("UTF-8", bytes, start);
  }
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(bytes[pos + i]);
    if ((next & 0xC0) != 0x80) ThrowInvalid("UTF-8", bytes, start);
    code = (code << 6) | (next & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ThrowInvalid("UTF-8", bytes, start);
  }
  pos += static_cast<std::size_t>(extra) + 1;
  return code;
}

DecodedText DecodeUtf8(std::string_view bytes) {
  DecodedText out;
  out.Text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t ascii = pos;
    while (ascii < bytes.size() &&
           static_cast<unsigned char>(bytes[ascii]) < 0x80) {
      ++ascii;
    }
    out.Text.append(bytes.substr(pos, ascii - pos));
    pos = ascii;
    if (pos == bytes.size()) break;
    const std::size_t start = pos;
    AppendCodePoint(DecodeUtf8Sequence(bytes, pos), bytes, start, out);
  }
  return out;
}

DecodedText DecodeIso88592(std::string_view bytes) {
  DecodedText out;
  out.Text.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
    const auto b = static_cast<unsigned char>(bytes[pos]);
    const char32_t code = b < 0xA0 ? b : kIso88592Upper[b - 0xA0];
    if (code < 0x80) {
      out.Text += static_cast<char>(b);
    } else {
      AppendCodePoint(code, bytes, pos, out);
    }
  }
  return out;
}

DecodedText DecodeAscii(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
    if (static_cast<unsigned char>(bytes[pos]) >= 0x80) {
      ThrowInvalid("US-ASCII", bytes, pos);
    }
  }
  DecodedText out;
  out.Text.assign(bytes);
  return out;
}

void RejectWideText(std::string_view bytes) {
  const auto starts = [&](std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
  };
  using namespace std::string_view_literals;
  if (starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv) ||
      starts("\0\0\xFE\xFF"sv) || starts("<\0?\0"sv) || starts("\0<\0?"sv)) {
    throw Exception(
        "UTF-16 and UTF-32 files are not supported; save the invoice as "
        "UTF-8");
  }
}

}  // namespace

std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
  }
  const std::size_t first = bytes.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || bytes.substr(first, 5) != "<?xml") {
    return "";
  }
  const std::size_t end = bytes.find("?>", first);
  const std::string_view declaration =
      bytes.substr(first, end == std::string_view::npos ? std::string_view::npos
                                                        : end - first);
  std::size_t pos = declaration.find("encoding");
  if (pos == std::string_view::npos) return "";
  pos = declaration.find_first_not_of(" \t\r\n", pos + 8);
  if (pos == std::string_view::npos || declaration[pos] != '=') return "";
  pos = declaration.find_first_not_of(" \t\r\n", pos + 1);
  if (pos == std::string_view::npos ||
      (declaration[pos] != '"' && declaration[pos] != '\'')) {
    return "";
  }
  const std::size_t close = declaration.find(declaration[pos], pos + 1);
  if (close == std::string_view::npos) return "";
  return std::string(declaration.substr(pos + 1, close - pos - 1));
}

DecodedText DecodeToCp1250(std::string_view bytes) {
  RejectWideText(bytes);
  const bool bom = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  const std::string declared = DeclaredEncoding(bytes);
  const Encoding encoding = EncodingNamed(declared);
  if (bom) {
    if (encoding != Encoding::kUtf8) {
      throw Exception(
          "the file starts with a UTF-8 byte-order mark but "
          "declares encoding '" +
          declared + "'");
    }
    bytes.remove_prefix(kUtf8Bom.size());
  }
  switch (encoding) {
    case Encoding::kCp1250: {
      DecodedText out;
      out.Text.assign(bytes);
      return out;
    }
    case Encoding::kIso88592:
      return DecodeIso88592(bytes);
    case Encoding::kAscii:
      return DecodeAscii(bytes);
    case Encoding::kUtf8:
    default:
      return DecodeUtf8(bytes);
  }
}

DecodedText DecodeUtf8ToCp1250(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bytes.remove_prefix(kUtf8Bom.size());
  }
  return DecodeUtf8(bytes);
}

std::string LostCharactersWarning(const DecodedText& decoded) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X",
                static_cast<unsigned>(decoded.FirstLost));
  const int n = decoded.LostCharacters;
  return std::to_string(n) + (n == 1 ? " character has" : " characters have") +
         " no CP1250 form and became '?' (first: " + code + " at line " +
         std::to_string(decoded.FirstLostLine) + ")";
}

void ParseKsefInvoice(const AnsiString& text, TVLQXmlNode& root) {
  root.XmlParse(text, true, true);
  if (root.GetNodeByName("Fa") == nullptr) {
    throw Exception("not a KSeF invoice: no Fa element under the root");
  }
}

}  // namespace druvo
