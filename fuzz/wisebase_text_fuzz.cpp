// libFuzzer target for the text readers of the WiseBase goods data: category
// path splitting, photo names and types, and the hex text conversion.
//
// The first byte is the category's separator (0: no separator); the rest is
// the text, used as the path, the photo's path and type, and the hex input.
// Besides crashes, the target checks the splitting against a literal byte
// rendering of the runtime's delimited-text rules, the hex reading against
// the C scanner, and that StringToHex and HexToString round-trip. Any
// difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "druvo/goods/UVlqWBTw.h"
#include "druvo/platform/Exceptions.h"

namespace {

using druvo::AnsiString;
using Items = std::vector<std::string>;

bool Blank(unsigned char c) { return c >= 1 && c <= 32; }

// The runtime's non-strict delimited text with '"' quotes, on bytes.
Items RefSplit(std::string text, char delimiter) {
  text = text.substr(0, text.find('\0'));
  Items items;
  std::size_t p = 0;
  const std::size_t n = text.size();
  while (p < n && Blank(static_cast<unsigned char>(text[p]))) ++p;
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      for (++p; p < n; ++p) {
        if (text[p] != '"') {
          item += text[p];
        } else if (p + 1 < n && text[p + 1] == '"') {
          item += '"';
          ++p;
        } else {
          ++p;
          break;
        }
      }
    } else {
      while (p < n && text[p] != delimiter &&
             static_cast<unsigned char>(text[p]) > 32) {
        item += text[p++];
      }
    }
    items.push_back(item);
    while (p < n && Blank(static_cast<unsigned char>(text[p]))) ++p;
    if (p < n && text[p] == delimiter) {
      if (++p == n) items.emplace_back();
      while (p < n && Blank(static_cast<unsigned char>(text[p]))) ++p;
    }
  }
  return items;
}

[[noreturn]] void Mismatch(const char* what, const std::string& text) {
  std::fprintf(stderr, "wisebase_text_fuzz: %s differs for [%s]\n", what,
               text.c_str());
  std::abort();
}

void CheckCategory(const std::string& text, char separator) {
  druvo::TVLQWiseBaseCategory category;
  category.Sciezka = text;
  if (separator != '\0') category.Separator = std::string(1, separator) + "x";
  Items expected;
  if (separator != '\0') {
    expected = RefSplit(text, separator);
  } else if (!text.empty()) {
    expected = {text};
  }
  if (category.GetPathCount() != static_cast<int>(expected.size())) {
    Mismatch("path count", text);
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (category.GetPathItem(static_cast<int>(i)) != expected[i]) {
      Mismatch("path item", text);
    }
  }
}

void CheckPhoto(const std::string& text) {
  const druvo::TVLQWiseBasePhoto photo(0, text, text);
  const Items items = RefSplit(text, '/');
  std::string name = text;
  std::string type = "png";
  if (items.size() > 1) {
    type = name = items.back();
    const std::size_t at = name.find_last_of("\\:");
    if (at != std::string::npos) name.erase(0, at + 1);
  }
  if (photo.OdczytajNazwe() != name) Mismatch("photo name", text);
  if (photo.OdczytajTyp() != type) Mismatch("photo type", text);
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
         (c >= 'A' && c <= 'F');
}

void CheckHex(const std::string& text) {
  using druvo::TVLQWiseBaseTools;
  if (TVLQWiseBaseTools::HexToString(TVLQWiseBaseTools::StringToHex(text)) !=
      text) {
    Mismatch("hex round trip", text);
  }
  AnsiString ours;
  try {
    ours = TVLQWiseBaseTools::HexToString(text);
  } catch (const druvo::Exception&) {
    if (text.size() % 2 == 0) Mismatch("hex error", text);
    return;
  }
  if (text.size() % 2 != 0) Mismatch("hex accepted odd length", text);
  std::string expected;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    const char pair[3] = {text[i], text[i + 1], '\0'};
    if (IsHexDigit(pair[0])) std::sscanf(pair, "%02X", &value);
    expected += static_cast<char>(value);
  }
  if (ours != expected) Mismatch("hex value", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  const char separator = static_cast<char>(data[0]);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckCategory(text, separator);
  CheckPhoto(text);
  CheckHex(text);
  return 0;
}
