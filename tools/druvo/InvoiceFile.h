// Reading KSeF invoice files for the command-line program.
//
// ExpandInputs turns the paths of the command line into the files to read:
// a file as it is, a directory as its *.xml files (any letter case, not
// recursive, in name order). A path that does not exist or a directory that
// cannot be read is reported as an error; a directory without invoices as
// a warning.
//
// LoadInvoice reads one file, decodes it into CP1250 (warning when
// characters were lost), parses it with attributes and namespace prefixes
// removed and checks that it holds an invoice (an Fa element). It raises
// CliError for file and encoding problems and lets the library's exceptions
// (the parser's, a missing Fa) through with their messages.
#pragma once

#include <string>
#include <vector>

#include "druvo/xml/UVlqXml.h"
#include "tools/druvo/Reporter.h"

namespace druvo::cli {

std::vector<std::string> ExpandInputs(const std::vector<std::string>& paths,
                                      Reporter& reporter);

// The whole content of `path`. Raises CliError.
std::string ReadWholeFile(const std::string& path);

void LoadInvoice(const std::string& path, TVLQXmlNode& root,
                 Reporter& reporter);

}  // namespace druvo::cli
