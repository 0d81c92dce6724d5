#include "tools/druvo/Options.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#ifndef DRUVO_VERSION
#define DRUVO_VERSION "unknown"
#endif

namespace druvo::cli {
namespace {

// Which commands take an option.
enum Scope : unsigned {
  kConvert = 1,
  kList = 2,
  kBoth = 3,
  kValidate = 4,
  kCase = 8
};

struct KnownOption {
  std::string_view longName;  // without "--"
  char shortName;             // 0 when none
  bool takesValue;
  Scope scope;
};

constexpr KnownOption kKnownOptions[] = {
    {"output", 'o', true, kConvert},  {"force", 0, false, kConvert},
    {"utf8", 0, false, kConvert},     {"vat-symbol", 0, true, kConvert},
    {"csv", 0, false, kList},         {"cdata", 0, false, kBoth},
    {"translations", 0, true, kBoth}, {"validate", 0, false, kConvert},
    {"address", 0, false, kCase},     {"name", 0, false, kCase},
};

const KnownOption* FindLong(std::string_view name) {
  for (const KnownOption& known : kKnownOptions) {
    if (known.longName == name) return &known;
  }
  return nullptr;
}

const KnownOption* FindShort(char name) {
  for (const KnownOption& known : kKnownOptions) {
    if (known.shortName != 0 && known.shortName == name) return &known;
  }
  return nullptr;
}

void Apply(const KnownOption& known, const std::string& value, Options& o) {
  const std::string_view name = known.longName;
  if (name == "output") o.outputDir = value;
  if (name == "force") o.force = true;
  if (name == "utf8") o.utf8 = true;
  if (name == "vat-symbol") o.vatSymbol = value;
  if (name == "csv") o.csv = true;
  if (name == "cdata") o.cdata = true;
  if (name == "translations") o.translations = value;
  if (name == "validate") o.validate = true;
  if (name == "address") o.address = true;
  if (name == "name") o.name = true;
}

bool IsHelp(std::string_view a) { return a == "--help" || a == "-h"; }
bool IsVersion(std::string_view a) { return a == "--version" || a == "-V"; }

// The command named `word`, or nothing.
std::optional<Command> CommandNamed(std::string_view word) {
  if (word == "ksef2edi") return Command::kKsef2Edi;
  if (word == "ksef-list") return Command::kKsefList;
  if (word == "ksef-validate") return Command::kKsefValidate;
  if (word == "contractor-case") return Command::kContractorCase;
  return std::nullopt;
}

// The options a command takes, and its name in messages.
Scope ScopeOf(Command command) {
  switch (command) {
    case Command::kKsef2Edi:
      return kConvert;
    case Command::kKsefList:
      return kList;
    case Command::kKsefValidate:
      return kValidate;
    default:
      return kCase;
  }
}

std::string_view NameOf(Command command) {
  switch (command) {
    case Command::kKsef2Edi:
      return "ksef2edi";
    case Command::kKsefList:
      return "ksef-list";
    case Command::kKsefValidate:
      return "ksef-validate";
    default:
      return "contractor-case";
  }
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParsedCommandLine Run() {
    for (const std::string& a : args_) {
      if (a == "--") break;
      if (IsHelp(a)) return Done(Command::kHelp);
      if (IsVersion(a)) return Done(Command::kVersion);
    }
    for (i_ = 0; i_ < args_.size() && result_.error.empty(); ++i_) {
      Step(args_[i_]);
    }
    if (result_.error.empty()) Finish();
    return result_;
  }

 private:
  ParsedCommandLine Done(Command command) {
    result_.options.command = command;
    return result_;
  }

  void Step(const std::string& a) {
    if (endOfOptions_ || a == "-" || a.size() < 2 || a[0] != '-') {
      Word(a);
    } else if (a == "--") {
      endOfOptions_ = true;
    } else if (a[1] == '-') {
      LongOption(a);
    } else {
      ShortOption(a);
    }
  }

  void Word(const std::string& a) {
    if (result_.options.command != Command::kNone) {
      result_.options.paths.push_back(a);
    } else if (auto command = CommandNamed(a)) {
      result_.options.command = *command;
    } else {
      Fail("unknown command '" + a + "'");
    }
  }

  void LongOption(const std::string& a) {
    const std::size_t eq = a.find('=');
    const std::string name = a.substr(2, eq == std::string::npos ? eq : eq - 2);
    const KnownOption* known = FindLong(name);
    if (known == nullptr) return Fail("unknown option '--" + name + "'");
    if (!known->takesValue) {
      if (eq != std::string::npos) {
        return Fail("option '--" + name + "' takes no value");
      }
      return Take(*known, "--" + name, "");
    }
    if (eq != std::string::npos)
      return Take(*known, "--" + name, a.substr(eq + 1));
    TakeNextValue(*known, "--" + name);
  }

  void ShortOption(const std::string& a) {
    const KnownOption* known = FindShort(a[1]);
    if (known == nullptr)
      return Fail("unknown option '" + a.substr(0, 2) + "'");
    if (a.size() > 2) return Take(*known, a.substr(0, 2), a.substr(2));
    TakeNextValue(*known, a);
  }

  void TakeNextValue(const KnownOption& known, const std::string& shown) {
    if (i_ + 1 >= args_.size()) {
      return Fail("option '" + shown + "' needs a value");
    }
    Take(known, shown, args_[++i_]);
  }

  void Take(const KnownOption& known, const std::string& shown,
            const std::string& value) {
    if (known.takesValue && value.empty()) {
      return Fail("option '" + shown + "' needs a value");
    }
    used_.push_back({&known, shown});
    Apply(known, value, result_.options);
  }

  // Checks what depends on the command once all arguments are read.
  void Finish() {
    const Command command = result_.options.command;
    if (command == Command::kNone) return Fail("no command given");
    for (const auto& [known, shown] : used_) {
      if ((known->scope & ScopeOf(command)) == 0) {
        return Fail("option '" + shown + "' does not apply to " +
                    std::string(NameOf(command)));
      }
    }
    if (command == Command::kContractorCase) return FinishContractorCase();
    if (result_.options.paths.empty()) Fail("no input files given");
  }

  void FinishContractorCase() {
    if (result_.options.address && result_.options.name) {
      return Fail("options '--address' and '--name' exclude each other");
    }
    if (result_.options.paths.size() > 1) {
      Fail("contractor-case reads one file (or standard input)");
    }
  }

  void Fail(const std::string& message) {
    if (result_.error.empty()) result_.error = message;
  }

  const std::vector<std::string>& args_;
  std::size_t i_ = 0;
  bool endOfOptions_ = false;
  std::vector<std::pair<const KnownOption*, std::string>> used_;
  ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  return Parser(args).Run();
}

std::string VersionText() { return "druvo " DRUVO_VERSION "\n"; }

std::string HelpText() {
  return R"HELP(Usage: druvo ksef2edi [OPTIONS] PATH...
       druvo ksef-list [--csv] PATH...
       druvo ksef-validate PATH...
       druvo contractor-case [--address|--name] [FILE]
       druvo --help | --version

Reads KSeF invoices (XML of the public FA(2) and FA(3) schemas). A PATH is
an invoice file or a directory, whose *.xml files are read in name order.

Commands:
  ksef2edi    convert each invoice into the EDI text of a delivery document,
              written to NAME.edi beside the invoice
  ksef-list   list number, date, document type, seller and seller's tax
              number of each invoice (UTF-8 table)
  ksef-validate
              check each invoice against the official FA(2) or FA(3) XML
              schema (chosen by the namespace of its root element): prints
              "FILE: valid (FA(3))" or each violation as "FILE:LINE: message"
  contractor-case
              rewrite each line of a contractor register export (UTF-8, FILE
              or standard input) in the case a Polish reader expects:
              "JAN KOWALSKI" becomes "Jan Kowalski"; quoted names are kept

Options of ksef2edi:
  -o, --output DIR       write the EDI files into DIR (created when missing);
                         "-o -" writes them to standard output
      --force            overwrite existing EDI files
      --utf8             write the EDI text in UTF-8 instead of CP1250
      --vat-symbol SYMBOL
                         the VAT symbol for lines at 0% for export or
                         intra-Community supply and lines not subject to
                         tax (default: 0)
      --validate         check each invoice against its schema first, as
                         ksef-validate does; an invoice that is not valid is
                         reported (FILE:LINE: message) and not converted
Options of ksef-list:
      --csv              comma-separated values with a header row
Options of contractor-case:
      --address          street lines: "UL. GEN. BEMA" becomes "ul. gen. Bema"
      --name             company names: "SP. Z O.O." becomes "sp. z o.o.",
                         short words and dotted abbreviations keep their case
Options of ksef2edi and ksef-list:
      --cdata            read CDATA sections in the invoices
      --translations FILE
                         translated messages: a UTF-8 file of "[section]"
                         headers and "key=value" lines
  -h, --help             show this help and exit
  -V, --version          show the version and exit

Input is UTF-8 unless the XML declaration names windows-1250, ISO-8859-2 or
US-ASCII. Characters CP1250 lacks become '?', with a warning naming the file.
EDI files are written whole or not at all; an existing one is kept unless
--force is given.

EDI format: one record per line, "Key:value" with CR LF line ends, in CP1250
(unless --utf8); values are neither quoted nor escaped. A document begins with
TypDok:PZ (invoice), TypDok:ZD (correction of quantities) or TypDok:ROZB
(correction that changes prices or adds or removes lines), then texts
(Komentarz1, Tekst1..Tekst10, DotyczyDok), payment (TerminPlatn in days,
SposobPlatn), seller (NazwaWystawcy, NIPWystawcy, KodKrajuWystawcy,
AdresWystawcy), buyer (NIPPlatnika, AdresPlatnika), header (WalutaKod, Data as
dd.mm.yyyy, NrDok, DoZaplaty, Stopka), one Linia record per invoice line and
one Stawka record per VAT rate. Linia and Stawka values are sub-fields
Name{text} run together, for example
  Linia:Nazwa{Kawa}Jm{szt.}Ilosc{2}Cena{b12.50}Wartosc{b25.00}Vat{23}IdxLinii{0}
  Stawka:Vat{23}SumaNet{20.33}SumaVat{4.67}
where a price or value starts with b (gross) or n (net).

The schemas are the Ministry of Finance's, bundled with the program and used
offline (share/druvo/schema beside the program, or $DRUVO_SCHEMA_DIR).

Exit status: 0 when every file succeeded (for ksef-validate: was valid), 1
when any failed, 2 for wrong usage. Errors name the file, e.g. "bad.xml:
Invalid XML format: '</Fa>' not found"; one bad file does not stop the others.
)HELP";
}

}  // namespace druvo::cli
