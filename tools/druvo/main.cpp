// druvo: converts KSeF invoices to EDI text, lists and validates them, and
// rewrites contractor register texts in the reader's case. The work is in the
// units beside this file; main reads the command line and calls them.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/druvo/CliError.h"
#include "tools/druvo/Commands.h"
#include "tools/druvo/Console.h"
#include "tools/druvo/Options.h"
#include "tools/druvo/Reporter.h"

namespace {

constexpr int kUsageError = 2;

int UsageError(const std::string& message) {
  std::fprintf(stderr, "druvo: %s\nTry 'druvo --help' for more information.\n",
               message.c_str());
  return kUsageError;
}

int Run(const druvo::cli::Options& options) {
  using druvo::cli::Command;
  switch (options.command) {
    case Command::kHelp:
      std::fputs(druvo::cli::HelpText().c_str(), stdout);
      return 0;
    case Command::kVersion:
      std::fputs(druvo::cli::VersionText().c_str(), stdout);
      return 0;
    default:
      break;
  }
  try {
    druvo::cli::ApplyCommonOptions(options);
  } catch (const druvo::cli::CliError& e) {
    return UsageError(e.what());
  }
  druvo::cli::Reporter reporter(stderr);
  switch (options.command) {
    case Command::kKsef2Edi:
      return druvo::cli::RunKsef2Edi(options, reporter, stdout);
    case Command::kKsefList:
      return druvo::cli::RunKsefList(options, reporter, stdout);
    case Command::kKsefValidate:
      return druvo::cli::RunKsefValidate(options, reporter, stdout);
    default:
      return druvo::cli::RunContractorCase(options, reporter, stdin, stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  druvo::cli::PrepareConsole();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const druvo::cli::ParsedCommandLine parsed =
      druvo::cli::ParseCommandLine(args);
  if (!parsed.error.empty()) return UsageError(parsed.error);
  try {
    return Run(parsed.options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "druvo: %s\n", e.what());
    return 1;
  }
}
