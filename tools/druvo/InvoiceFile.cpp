#include "tools/druvo/InvoiceFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "tools/druvo/CliError.h"
#include "tools/druvo/OutputFile.h"
#include "tools/druvo/TextEncoding.h"

namespace druvo::cli {
namespace {

namespace fs = std::filesystem;

bool HasXmlExtension(const fs::path& file) {
  std::string ext = file.extension().string();
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == ".xml";
}

// The *.xml files of `dir` in name order, as paths that start with `dir`.
std::vector<std::string> InvoicesIn(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator it(dir, error), end;
  for (; !error && it != end; it.increment(error)) {
    const fs::path& file = it->path();
    if (!HasXmlExtension(file)) continue;
    std::error_code ignored;
    if (!it->is_regular_file(ignored)) continue;
    names.push_back(file.filename().string());
  }
  if (error) {
    throw CliError("cannot read directory: " + error.message());
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> files;
  files.reserve(names.size());
  for (const std::string& name : names) {
    files.push_back((fs::path(dir) / name).string());
  }
  return files;
}

}  // namespace

std::vector<std::string> ExpandInputs(const std::vector<std::string>& paths,
                                      Reporter& reporter) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
      files.push_back(path);  // reading it names the problem
      continue;
    }
    if (!fs::is_directory(status)) {
      files.push_back(path);
      continue;
    }
    try {
      std::vector<std::string> found = InvoicesIn(path);
      if (found.empty()) reporter.Warning(path, "no *.xml files in directory");
      files.insert(files.end(), found.begin(), found.end());
    } catch (const CliError& e) {
      reporter.Error(path, e.what());
    }
  }
  return files;
}

void LoadInvoice(const std::string& path, TVLQXmlNode& root,
                 Reporter& reporter) {
  DecodedText decoded = DecodeToCp1250(ReadWholeFile(path));
  if (decoded.LostCharacters > 0) {
    reporter.Warning(path, LostCharactersWarning(decoded));
  }
  ParseKsefInvoice(decoded.Text, root);
}

}  // namespace druvo::cli
