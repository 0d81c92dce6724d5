// Scratch directories and environment variables for tests that touch the
// file system or read the environment.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace druvo::test {

// A fresh directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    std::random_device random;
    std::error_code error;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto dir = std::filesystem::temp_directory_path() /
                       ("druvo_test." + std::to_string(random()));
      if (std::filesystem::create_directory(dir, error))
        path_ = dir.generic_string();
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Sets (or with nullopt unsets) an environment variable for its lifetime;
// TZ changes take effect at once.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(saved_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable.
    ::_putenv_s(name_.c_str(), value ? value->c_str() : "");
    ::_tzset();
#else
    if (value) {
      ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
    // No tzset here: the library's local time must notice a new TZ itself.
#endif
  }
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace druvo::test
