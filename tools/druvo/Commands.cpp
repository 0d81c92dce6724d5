#include "tools/druvo/Commands.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "druvo/contractors/UVlqIDK.h"
#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/util/KorbLib.h"
#include "druvo/xml/UVlqXml.h"
#include "tools/druvo/CliError.h"
#include "tools/druvo/DocumentList.h"
#include "tools/druvo/InvoiceFile.h"
#include "tools/druvo/OutputFile.h"
#include "tools/druvo/SchemaValidator.h"
#include "tools/druvo/TextEncoding.h"

namespace druvo::cli {
namespace {

// Runs `work` for one file, reporting whatever it raises under the file's
// name: the library's messages (CP1250) converted to UTF-8.
template <typename Work>
void ForOneFile(const std::string& file, Reporter& reporter, Work work) {
  try {
    work();
  } catch (const CliError& e) {
    reporter.Error(file, e.what());
  } catch (const Exception& e) {
    reporter.Error(file, AnsiToUtf8(e.Message));
  } catch (const std::exception& e) {
    reporter.Error(file, e.what());
  }
}

// "FILE:LINE" of a schema violation, or "FILE" when its line is unknown.
std::string ViolationPlace(const std::string& file,
                           const SchemaViolation& violation) {
  if (violation.line <= 0) return file;
  return file + ":" + std::to_string(violation.line);
}

bool PathExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

class Converter {
 public:
  Converter(const Options& options, Reporter& reporter, std::FILE* out)
      : options_(options),
        reporter_(reporter),
        out_(out),
        toStdout_(options.outputDir == "-"),
        vatSymbol_(Utf8ToAnsi(options.vatSymbol)) {}

  void Convert(const std::string& file) {
    std::string target;
    if (!toStdout_) target = ClaimTarget(file);
    if (options_.validate && !Valid(file)) return;
    TVLQXmlNode root;
    LoadInvoice(file, root, reporter_);
    AnsiString edi;
    TVLQKonwersjaKSeF::KonwertujDaneZXmlNaVelquant5DoTekstu(
        &root, edi, nullptr, nullptr, vatSymbol_);
    if (options_.utf8) edi = AnsiToUtf8(edi);
    if (toStdout_) {
      if (std::fwrite(edi.data(), 1, edi.size(), out_) != edi.size()) {
        throw CliError("cannot write to standard output");
      }
    } else {
      WriteFileWhole(target, edi, options_.force);
    }
  }

 private:
  // Checks `file` against its schema, reporting each violation as an error.
  bool Valid(const std::string& file) {
    if (!validator_) {
      validator_ = std::make_unique<SchemaValidator>(FindSchemaDirectory());
    }
    const SchemaCheck check = validator_->Check(ReadWholeFile(file), file);
    for (const SchemaViolation& violation : check.violations) {
      reporter_.Error(ViolationPlace(file, violation), violation.message);
    }
    return check.Valid();
  }

  // The output path of `file`; raises CliError when another input of this
  // run has it or when it exists and may not be replaced.
  std::string ClaimTarget(const std::string& file) {
    std::string target = EdiPathFor(file, options_.outputDir);
    if (!claimed_.insert(target).second) {
      throw CliError("'" + target +
                     "' is the output of an earlier input of this run; not "
                     "written");
    }
    if (!options_.force && PathExists(target)) {
      throw CliError("'" + target + "' exists (use --force to overwrite it)");
    }
    return target;
  }

  const Options& options_;
  Reporter& reporter_;
  std::FILE* out_;
  const bool toStdout_;
  const AnsiString vatSymbol_;
  std::set<std::string> claimed_;
  std::unique_ptr<SchemaValidator> validator_;
};

int ExitStatus(const Reporter& reporter) {
  return reporter.ErrorCount() > 0 ? 1 : 0;
}

void WriteOut(const std::string& text, std::FILE* out, Reporter& reporter) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() ||
      std::fflush(out) != 0) {
    reporter.Error("standard output", "write error");
  }
}

std::string ReadAll(std::FILE* in) {
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
    bytes.append(buffer, n);
  }
  if (std::ferror(in)) throw CliError("read error");
  return bytes;
}

// Each line of `text` (CP1250) in the reader's case, as UTF-8, with its line
// end ("\n" or "\r\n") kept.
std::string ChangeCaseOfLines(const AnsiString& text, bool address, bool name) {
  std::string result;
  result.reserve(text.size() + text.size() / 8);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::size_t lineEnd = end;
    if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
    const std::string_view line(text.data() + start, lineEnd - start);
    result += AnsiToUtf8(
        TVLQDaneImpKontrahenta::ZmianaWielkosciLiter(line, address, name));
    result.append(text, lineEnd, end - lineEnd + (end < text.size() ? 1 : 0));
    start = end + 1;
  }
  return result;
}

}  // namespace

int RunContractorCase(const Options& options, Reporter& reporter, std::FILE* in,
                      std::FILE* out) {
  const bool fromFile = !options.paths.empty() && options.paths[0] != "-";
  const std::string source = fromFile ? options.paths[0] : "standard input";
  std::string result;
  ForOneFile(source, reporter, [&] {
    const DecodedText decoded = DecodeUtf8ToCp1250(
        fromFile ? ReadWholeFile(options.paths[0]) : ReadAll(in));
    if (decoded.LostCharacters > 0) {
      reporter.Warning(source, LostCharactersWarning(decoded));
    }
    result = ChangeCaseOfLines(decoded.Text, options.address, options.name);
  });
  if (reporter.ErrorCount() == 0) WriteOut(result, out, reporter);
  return ExitStatus(reporter);
}

void ApplyCommonOptions(const Options& options) {
  TVLQXmlNode::UzywacCDATA = options.cdata;
  if (options.translations.empty()) return;
  try {
    TMLgTools::LoadFromFile(options.translations);
  } catch (const Exception& e) {
    throw CliError(options.translations + ": " + AnsiToUtf8(e.Message));
  }
}

int RunKsef2Edi(const Options& options, Reporter& reporter, std::FILE* out) {
  const std::vector<std::string> files = ExpandInputs(options.paths, reporter);
  if (!options.outputDir.empty() && options.outputDir != "-") {
    try {
      EnsureDirectory(options.outputDir);
    } catch (const CliError& e) {
      reporter.Error(options.outputDir, e.what());
      return 1;
    }
  }
  Converter converter(options, reporter, out);
  reporter.StartBatch(static_cast<int>(files.size()));
  for (const std::string& file : files) {
    ForOneFile(file, reporter, [&] { converter.Convert(file); });
    reporter.FileDone();
  }
  reporter.EndBatch();
  if (std::fflush(out) != 0) reporter.Error("standard output", "write error");
  return ExitStatus(reporter);
}

int RunKsefList(const Options& options, Reporter& reporter, std::FILE* out) {
  const std::vector<std::string> files = ExpandInputs(options.paths, reporter);
  std::vector<DocumentListRow> rows;
  rows.reserve(files.size());
  reporter.StartBatch(static_cast<int>(files.size()));
  for (const std::string& file : files) {
    ForOneFile(file, reporter, [&] {
      TVLQXmlNode root;
      LoadInvoice(file, root, reporter);
      rows.push_back(ReadDocumentListRow(root, file));
    });
    reporter.FileDone();
  }
  reporter.EndBatch();
  WriteOut(options.csv ? FormatCsv(rows) : FormatTable(rows), out, reporter);
  return ExitStatus(reporter);
}

int RunKsefValidate(const Options& options, Reporter& reporter,
                    std::FILE* out) {
  const std::vector<std::string> files = ExpandInputs(options.paths, reporter);
  SchemaValidator validator(FindSchemaDirectory());
  std::string report;
  int invalid = 0;
  reporter.StartBatch(static_cast<int>(files.size()));
  for (const std::string& file : files) {
    ForOneFile(file, reporter, [&] {
      const SchemaCheck check = validator.Check(ReadWholeFile(file), file);
      if (check.Valid()) report += file + ": valid (" + check.schema + ")\n";
      for (const SchemaViolation& violation : check.violations) {
        report +=
            ViolationPlace(file, violation) + ": " + violation.message + "\n";
      }
      if (!check.Valid()) ++invalid;
    });
    reporter.FileDone();
    WriteOut(report, out, reporter);
    report.clear();
  }
  reporter.EndBatch();
  return invalid > 0 ? 1 : ExitStatus(reporter);
}

}  // namespace druvo::cli
