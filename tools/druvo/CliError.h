// The error the command-line program reports for one file or for its
// command line. The message is UTF-8 text for the terminal and does not name
// the file: the caller puts the file's name before it.
#pragma once

#include <stdexcept>
#include <string>

namespace druvo::cli {

class CliError : public std::runtime_error {
 public:
  explicit CliError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace druvo::cli
