#include "druvo/platform/FindFile.h"

#include <cstddef>
#include <string_view>

namespace druvo {

namespace {

unsigned char AsciiLower(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + 32) : u;
}

// '*' and '?' matching with one remembered star: linear in the name for
// each star, never exponential.
bool Wildcard(std::string_view name, std::string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view pattern) {
  if (Wildcard(name, pattern)) return true;
  // "abc.*" also matches "abc", and "*.*" every name.
  return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
         Wildcard(name, pattern.substr(0, pattern.size() - 2));
}

}  // namespace druvo
