#include "tools/druvo/Options.h"

#include <gtest/gtest.h>

namespace druvo::cli {
namespace {

constexpr auto Parse = ParseCommandLine;

TEST(Options, OptionsMayComeBeforeOrAfterTheCommandAndPaths) {
  const ParsedCommandLine parsed =
      Parse({"--utf8", "ksef2edi", "a.xml", "-o", "out", "--vat-symbol=NP",
             "--force", "--cdata", "--translations", "t.ini", "dir"});
  ASSERT_EQ(parsed.error, "");
  const Options& o = parsed.options;
  EXPECT_EQ(o.command, Command::kKsef2Edi);
  EXPECT_EQ(o.paths, (std::vector<std::string>{"a.xml", "dir"}));
  EXPECT_EQ(o.outputDir, "out");
  EXPECT_EQ(o.vatSymbol, "NP");
  EXPECT_EQ(o.translations, "t.ini");
  EXPECT_TRUE(o.utf8 && o.force && o.cdata);
  EXPECT_FALSE(o.csv);

  EXPECT_EQ(Parse({"ksef2edi", "-o-", "a"}).options.outputDir, "-");
  EXPECT_EQ(Parse({"ksef2edi", "-o", "-", "a"}).options.outputDir, "-");
  EXPECT_EQ(Parse({"ksef2edi", "--output=x", "a"}).options.outputDir, "x");
  // After "--" everything is a path, "-" included.
  EXPECT_EQ(Parse({"ksef-list", "--", "--csv", "-"}).options.paths,
            (std::vector<std::string>{"--csv", "-"}));
  EXPECT_TRUE(Parse({"ksef-list", "--csv", "a"}).options.csv);
}

TEST(Options, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(Parse({"--bogus", "--help"}).options.command, Command::kHelp);
  EXPECT_EQ(Parse({"ksef2edi", "-h"}).options.command, Command::kHelp);
  EXPECT_EQ(Parse({"-V"}).options.command, Command::kVersion);
  EXPECT_EQ(Parse({"ksef-list", "--", "--help"}).options.command,
            Command::kKsefList);
}

TEST(Options, UsageErrorsAreDescribed) {
  EXPECT_EQ(Parse({}).error, "no command given");
  EXPECT_EQ(Parse({"convert"}).error, "unknown command 'convert'");
  EXPECT_EQ(Parse({"ksef2edi"}).error, "no input files given");
  EXPECT_EQ(Parse({"ksef2edi", "--bogus", "a"}).error,
            "unknown option '--bogus'");
  // -o is the only short option besides -h and -V.
  for (int c = 1; c < 256; ++c) {
    const std::string option = {'-', static_cast<char>(c)};
    if (c == 'o' || c == 'h' || c == 'V' || c == '-') continue;
    EXPECT_EQ(Parse({"ksef2edi", option, "a"}).error,
              "unknown option '" + option + "'")
        << c;
  }
  EXPECT_EQ(Parse({"ksef2edi", "a", "-o"}).error, "option '-o' needs a value");
  EXPECT_EQ(Parse({"ksef2edi", "a", "--output="}).error,
            "option '--output' needs a value");
  EXPECT_EQ(Parse({"ksef2edi", "--force=1", "a"}).error,
            "option '--force' takes no value");
  EXPECT_EQ(Parse({"ksef2edi", "--csv", "a"}).error,
            "option '--csv' does not apply to ksef2edi");
  EXPECT_EQ(Parse({"ksef-list", "a", "-o", "d"}).error,
            "option '-o' does not apply to ksef-list");
  EXPECT_EQ(Parse({"contractor-case", "--name", "--address"}).error,
            "options '--address' and '--name' exclude each other");
  EXPECT_EQ(Parse({"contractor-case", "a", "b"}).error,
            "contractor-case reads one file (or standard input)");
  EXPECT_EQ(Parse({"contractor-case", "--csv"}).error,
            "option '--csv' does not apply to contractor-case");
  EXPECT_EQ(Parse({"contractor-case", "--address"}).error, "");
  // The first problem is the one reported.
  EXPECT_EQ(Parse({"nope", "--bogus"}).error, "unknown command 'nope'");
}

}  // namespace
}  // namespace druvo::cli
