#include "tools/druvo/OutputFile.h"

#include <filesystem>
#include <system_error>

#include "tools/druvo/CliError.h"

namespace druvo::cli {
namespace {

bool EndsWithXml(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == ".xml";
}

}  // namespace

std::string ErrnoText(int error) {
  return std::generic_category().message(error);
}

std::string EdiPathFor(const std::string& input, const std::string& outputDir) {
  const std::filesystem::path in(input);
  std::string name = in.filename().string();
  if (EndsWithXml(name)) name.resize(name.size() - 4);
  name += ".edi";
  const std::filesystem::path dir =
      outputDir.empty() ? in.parent_path() : std::filesystem::path(outputDir);
  return (dir / name).string();
}

void EnsureDirectory(const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    throw CliError("cannot create directory '" + dir + "': " + error.message());
  }
  if (!std::filesystem::is_directory(dir, error)) {
    throw CliError("'" + dir + "' is not a directory");
  }
}

}  // namespace druvo::cli
