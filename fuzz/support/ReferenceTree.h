// Pieces shared by the fuzz targets that check a parser against a literal,
// string-copying rendering of its rules: the reference tree, the trimming
// those rules use, and the report that stops the run at a difference.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz_support {

struct RefNode {
  std::string name;
  std::string value;
  std::vector<RefNode> children;
};

// `s` without the bytes up to blank (0 to 32) at both ends.
inline std::string Trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) --end;
  return s.substr(begin, end - begin);
}

// Reports that `what` differs between the parser and the reference, aborts.
[[noreturn]] inline void Mismatch(const char* target, const char* what,
                                  const std::string& ours,
                                  const std::string& reference) {
  std::fprintf(stderr, "%s: %s differs\n  ours: %s\n  reference: %s\n", target,
               what, ours.c_str(), reference.c_str());
  std::abort();
}

}  // namespace fuzz_support
