// The commands of the druvo program. Each returns the exit status: 0
// when every file succeeded, 1 when any failed. Per-file errors and warnings
// go through the Reporter; results go to `out`.
#pragma once

#include <cstdio>

#include "tools/druvo/Options.h"
#include "tools/druvo/Reporter.h"

namespace druvo::cli {

// Converts every input to EDI text: NAME.edi beside it, in
// options.outputDir, or to `out` when that is "-".
int RunKsef2Edi(const Options& options, Reporter& reporter, std::FILE* out);

// Prints the document list of every input as a table or CSV.
int RunKsefList(const Options& options, Reporter& reporter, std::FILE* out);

// Checks every input against its FA(2) or FA(3) schema and prints, for each,
// "FILE: valid (FA(n))" or its violations as "FILE:LINE: message".
int RunKsefValidate(const Options& options, Reporter& reporter, std::FILE* out);

// Rewrites each line of options.paths[0] (standard input `in` when there is
// no path or it is "-"), UTF-8, in the reader's case and writes it to `out`
// with the line end it had.
int RunContractorCase(const Options& options, Reporter& reporter, std::FILE* in,
                      std::FILE* out);

// Sets up what the invoice commands share: CDATA handling and translations.
// Raises CliError when the translations cannot be loaded.
void ApplyCommonOptions(const Options& options);

}  // namespace druvo::cli
