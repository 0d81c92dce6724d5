// The command line of the druvo program.
//
// ParseCommandLine reads the arguments after the program's name: a command
// (the first argument that is not an option), options before or after it
// ("--name VALUE", "--name=VALUE", "-o DIR", "-oDIR"; "--" ends the options)
// and the paths. --help and --version win over everything else. An option
// that the command does not take, an unknown option or command, a missing
// value or no path at all is a usage error, described in Error. contractor-case
// takes at most one path (none: standard input) and one of --address, --name.
#pragma once

#include <string>
#include <vector>

namespace druvo::cli {

enum class Command {
  kNone,
  kHelp,
  kVersion,
  kKsef2Edi,
  kKsefList,
  kKsefValidate,
  kContractorCase
};

struct Options {
  Command command = Command::kNone;
  std::vector<std::string> paths;
  std::string outputDir;  // "" beside each input, "-" standard output
  std::string vatSymbol;  // UTF-8, as given
  std::string translations;
  bool utf8 = false;
  bool cdata = false;
  bool force = false;
  bool csv = false;
  bool validate = false;  // ksef2edi: skip invoices the schema rejects
  bool address = false;   // contractor-case: street designations and titles
  bool name = false;      // contractor-case: company-name rules
};

struct ParsedCommandLine {
  Options options;
  std::string error;  // non-empty for a usage error
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help and of --version.
std::string HelpText();
std::string VersionText();

}  // namespace druvo::cli
