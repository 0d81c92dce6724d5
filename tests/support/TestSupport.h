// Small helpers shared by the unit tests.
#pragma once

#include <clocale>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/TStringList.h"

namespace druvo::test {

// The message of the `ExceptionType` that `call` raises, or "(no exception)".
template <typename ExceptionType = Exception, typename Call>
std::string MessageOf(Call call) {
  try {
    call();
  } catch (const ExceptionType& error) {
    return error.Message;
  }
  return "(no exception)";
}

inline std::vector<WideString> Lines(const TStrings& list) {
  std::vector<WideString> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Switches the C locale to one with a decimal comma for its lifetime, when
// the machine has one (CI generates pl_PL.UTF-8); active() tells.
class CommaLocale {
 public:
  CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
    // Windows names its locales differently.
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "de_DE.UTF-8",
                             "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                             "Polish_Poland.1250", "German_Germany.1252"}) {
      if (std::setlocale(LC_ALL, name) != nullptr &&
          std::string(std::localeconv()->decimal_point) == ",") {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

}  // namespace druvo::test
