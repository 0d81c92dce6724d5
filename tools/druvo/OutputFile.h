// Where an EDI file goes and how it is written.
//
// EdiPathFor names the output of an input: its name with the extension
// ".xml" (any letter case) replaced by ".edi", or ".edi" appended, either
// beside the input or in a given directory. WriteFileWhole writes a file
// whole or not at all: the data goes to a temporary file in the target's
// directory, which then takes the target's name (without `overwrite` only
// when no file of that name exists, checked atomically). Failures raise
// CliError and leave neither a temporary file nor a changed target.
#pragma once

#include <string>
#include <string_view>

namespace druvo::cli {

std::string EdiPathFor(const std::string& input, const std::string& outputDir);

void WriteFileWhole(const std::string& path, std::string_view data,
                    bool overwrite);

// Makes sure `dir` is a directory, creating it (and its parents) when
// missing. Raises CliError.
void EnsureDirectory(const std::string& dir);

// The text of an errno value, for messages.
std::string ErrnoText(int error);

}  // namespace druvo::cli
