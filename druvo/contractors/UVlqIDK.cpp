// The imported contractor record and its letter-case rules.
#include "druvo/contractors/UVlqIDK.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <utility>

#include "druvo/platform/TStringList.h"

namespace druvo {
namespace {

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ';
  });
}

bool IsOneOf(std::string_view word,
             std::initializer_list<std::string_view> choices) {
  return std::find(choices.begin(), choices.end(), word) != choices.end();
}

// Where the pass ends a word: a blank, a hyphen, a backquote or the
// non-breaking space.
bool IsWordSeparator(unsigned char c) {
  return c == ' ' || c == '-' || c == '`' || c == 160;
}

void LowerInPlace(AnsiString& text) {
  for (char& c : text) c = static_cast<char>(AnsiLowerChar(c));
}

// Whether the single letter at 1-based position q forms an initial, given
// whether single letters stand two places to its left and right: with more
// than three of them any such neighbour counts; otherwise the letter that
// opens the text, or one with exactly one neighbour.
bool IsInitial(bool many, long long q, bool hasLeft, bool hasRight) {
  return many ? hasLeft || hasRight : q - 2 < 0 || hasLeft != hasRight;
}

void UpperAt(AnsiString& text, long long q) {
  if (q >= 1 && q <= static_cast<long long>(text.size())) {
    char& c = text[static_cast<std::size_t>(q - 1)];
    c = static_cast<char>(AnsiUpperChar(c));
  }
}

// Upper-cases the initials among the 1-based positions `sorted` (ascending,
// no duplicates, any range): two places away is the previous or next entry
// when present. Positions outside the text are skipped.
void UpperCaseInitials(AnsiString& text, const std::vector<long long>& sorted) {
  if (sorted.empty() || IsBlank(text)) return;
  const bool many = sorted.size() > 3;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const long long q = sorted[i];
    if (IsInitial(many, q, i > 0 && sorted[i - 1] == q - 2,
                  i + 1 < sorted.size() && sorted[i + 1] == q + 2)) {
      UpperAt(text, q);
    }
  }
}

// Copies `replacement` over the `length` bytes of `text` at `start`.
void PutWord(AnsiString& text, std::size_t start, std::size_t length,
             const AnsiString& replacement) {
  if (replacement.size() == length) {
    std::copy(replacement.begin(), replacement.end(), text.begin() + start);
  } else {
    text.replace(start, length, replacement);
  }
}

// The state of one run of the word-splitting pass over `text_`.
class CasePass {
 public:
  CasePass(AnsiString text, bool adres, bool nazwa)
      : text_(std::move(text)), adres_(adres), nazwa_(nazwa) {}

  AnsiString Run() {
    const std::size_t n = text_.size();
    unsigned char c = 0;
    std::size_t start = 0;
    for (std::size_t p = 0; p <= n;) {
      if (p < n) c = static_cast<unsigned char>(text_[p]);
      if (TVLQDaneImpKontrahenta::CzyZnakToCudzyslow(static_cast<char>(c)) &&
          mayToggle_) {
        inQuote_ = !inQuote_;
        quoteClosed_ = !inQuote_;
        mayToggle_ = false;
      } else {
        mayToggle_ = true;
      }
      if ((IsWordSeparator(c) || p == n) && !inQuote_) {
        EndWord(start, p - start);
        start = p = p + 1;
      } else {
        ++p;
      }
    }
    UpperCaseInitials();
    return std::move(text_);
  }

 private:
  void MarkSingle(std::size_t q) {
    if (single_.empty()) single_.resize(text_.size() + 1);
    single_[q] = true;
    ++singles_;
  }

  // A decision depends on the marks only, never on letters already changed.
  void UpperCaseInitials() {
    if (singles_ == 0) return;
    const bool many = singles_ > 3;
    const std::size_t n = text_.size();
    for (std::size_t q = 1; q <= n; ++q) {
      if (!single_[q]) continue;
      const bool left = q >= 3 && single_[q - 2];
      const bool right = q + 2 <= n && single_[q + 2];
      if (IsInitial(many, static_cast<long long>(q), left, right)) {
        UpperAt(text_, static_cast<long long>(q));
      }
    }
  }

  void EndWord(std::size_t start, std::size_t length) {
    const std::string_view word(text_.data() + start, length);
    if (adres_) {
      bool jest = false;
      AnsiString result =
          TVLQDaneImpKontrahenta::CzyOznaczenieAdresu(word, jest);
      if (!jest) result = TVLQDaneImpKontrahenta::CzySkrotWAdresie(word, jest);
      if (jest) return PutWord(text_, start, length, result);
    }
    if (!quoteClosed_) {
      const AnsiString result =
          TVLQDaneImpKontrahenta::GlownyTekst(word, nazwa_);
      PutWord(text_, start, length, result);
      if (result.size() == 1) MarkSingle(start + 1);
    }
    quoteClosed_ = false;
  }

  AnsiString text_;
  const bool adres_;
  const bool nazwa_;
  bool inQuote_ = false;
  bool quoteClosed_ = false;
  bool mayToggle_ = true;
  // Marks at the 1-based starts of one-character words, and their count.
  std::vector<bool> single_;
  std::size_t singles_ = 0;
};

constexpr std::array<std::string_view, 4> kAdjectiveEndings = {"ski", "cki",
                                                               "zki", "dni"};

}  // namespace

// ---------------------------------------------------------------------------
// Record

TVLQDaneImpKontrahenta::TVLQDaneImpKontrahenta() = default;

TVLQDaneImpKontrahenta::TVLQDaneImpKontrahenta(
    const TVLQDaneImpKontrahenta& other) {
  Tekst29 = other.Tekst29;
  Tekst30 = other.Tekst30;
  *this = other;
}

TVLQDaneImpKontrahenta& TVLQDaneImpKontrahenta::operator=(
    const TVLQDaneImpKontrahenta& other) {
  if (this == &other) return *this;
  Tekst1 = other.Tekst1, Tekst2 = other.Tekst2, Tekst3 = other.Tekst3;
  Tekst4 = other.Tekst4, Tekst5 = other.Tekst5, Tekst6 = other.Tekst6;
  Tekst7 = other.Tekst7, Tekst8 = other.Tekst8, Tekst9 = other.Tekst9;
  Tekst10 = other.Tekst10, Tekst11 = other.Tekst11, Tekst12 = other.Tekst12;
  Tekst13 = other.Tekst13, Tekst14 = other.Tekst14, Tekst15 = other.Tekst15;
  Tekst16 = other.Tekst16, Tekst17 = other.Tekst17, Tekst18 = other.Tekst18;
  Tekst19 = other.Tekst19, Tekst20 = other.Tekst20, Tekst21 = other.Tekst21;
  Tekst22 = other.Tekst22, Tekst23 = other.Tekst23;
  Mapa.clear();
  for (const auto& [key, value] : other.Mapa) Mapa[key] = value;
  Liczba1 = other.Liczba1;
  Tekst24 = other.Tekst24, Tekst25 = other.Tekst25;
  KodyPKDList codes;
  codes.reserve(other.KodyPKD.size());
  for (const auto& source : other.KodyPKD) {
    if (!source) {
      codes.emplace_back();
      continue;
    }
    auto code = std::make_unique<TVLQDaneKodPKD>();
    code->Tekst1 = source->Tekst1;
    code->Tekst2 = source->Tekst2;
    code->Znacznik = source->Znacznik;
    codes.push_back(std::move(code));
  }
  KodyPKD = std::move(codes);
  Klucz = other.Klucz;
  Tekst26 = other.Tekst26;
  Znacznik1 = other.Znacznik1, Znacznik2 = other.Znacznik2;
  Znacznik3 = other.Znacznik3, Znacznik4 = other.Znacznik4;
  Znacznik5 = other.Znacznik5;
  Liczba2 = other.Liczba2, Liczba3 = other.Liczba3;
  Wartosc1 = other.Wartosc1, Wartosc2 = other.Wartosc2;
  Wartosc3 = other.Wartosc3, Wartosc4 = other.Wartosc4;
  Wartosc5 = other.Wartosc5, Wartosc6 = other.Wartosc6;
  Wartosc7 = other.Wartosc7;
  Liczba5 = other.Liczba5, Liczba6 = other.Liczba6;
  Znacznik6 = other.Znacznik6;
  return *this;
}

TVLQDaneImpKontrahenta::~TVLQDaneImpKontrahenta() = default;

void TVLQDaneImpKontrahenta::Czysc() {
  // Assignment leaves Tekst27 .. Tekst30 and Liczba4 alone: the texts are
  // kept, the int is reset here.
  *this = TVLQDaneImpKontrahenta();
  Liczba4 = 200;
}

void TVLQDaneImpKontrahenta::CzyscKodyPKD() { KodyPKD.clear(); }

void TVLQDaneImpKontrahenta::UstawWszystkieDaneDuzymiLiterami() {
  for (AnsiString* field :
       {&Tekst5, &Tekst6, &Tekst7, &Tekst8, &Tekst10, &Tekst11, &Tekst12,
        &Tekst13, &Tekst16, &Tekst17, &Tekst18, &Tekst20, &Tekst21, &Tekst22}) {
    *field = AnsiUpperCase(*field);
  }
}

void TVLQDaneImpKontrahenta::UstawDanePierwszaDuzaLitera() {
  Tekst5 = ZmianaWielkosciLiter(Tekst5, false, true);
  Tekst6 = ZmianaWielkosciLiter(Tekst6, true, false);
  for (AnsiString* field : {&Tekst7, &Tekst8, &Tekst16, &Tekst22}) {
    *field = ZmianaWielkosciLiter(*field, false, false);
  }
  for (AnsiString* field : {&Tekst12, &Tekst13, &Tekst18}) LowerInPlace(*field);
  if (CzyWyrazPisanyZMalychLiter(Tekst17)) {
    LowerInPlace(Tekst17);
  } else {
    Tekst17 = ZmianaWielkosciLiter(Tekst17, false, false);
  }
}

// ---------------------------------------------------------------------------
// Case rules

AnsiString TVLQDaneImpKontrahenta::ZmianaWielkosciLiter(std::string_view text,
                                                        bool adres,
                                                        bool nazwa) {
  AnsiString trimmed = Trim(text);
  if (trimmed.empty()) return trimmed;
  return CasePass(std::move(trimmed), adres, nazwa).Run();
}

AnsiString TVLQDaneImpKontrahenta::GlownyTekst(std::string_view word,
                                               bool nazwa) {
  if (IsBlank(word)) return AnsiString(word);
  if (word.size() == 1) return AnsiLowerCase(word);
  if (nazwa && word.find('.') != std::string_view::npos) {
    AnsiString lower = AnsiLowerCase(word);
    return lower == "sp." || lower == "o.o." ? lower : AnsiString(word);
  }
  if (nazwa && word.size() <= 3) return AnsiString(word);
  AnsiString result(word);
  bool afterFirstLetter = false;
  for (char& c : result) {
    bool duza = false;
    if (!CzyZnakToLitera(c, duza)) continue;
    if (afterFirstLetter && duza) c = static_cast<char>(AnsiLowerChar(c));
    afterFirstLetter = true;
  }
  return result;
}

AnsiString TVLQDaneImpKontrahenta::CzyOznaczenieAdresu(std::string_view word,
                                                       bool& jest) {
  if (IsBlank(word)) return AnsiString(word);
  jest = false;
  if (word.size() > 7) return AnsiString(word);  // longer than any designation
  AnsiString lower = AnsiLowerCase(word);
  bool duza = false;
  if (word.back() == '.') {
    jest = IsOneOf(lower, {"ul.", "al.", "os.", "pl."});
  } else if (CzyZnakToLitera(word.back(), duza)) {
    jest = IsOneOf(lower, {"ulica", "aleja", "osiedle", "plac"});
    if (lower == "aleje") {
      jest = true;
      lower[0] = static_cast<char>(AnsiUpperChar(lower[0]));
    }
  }
  return jest ? lower : AnsiString(word);
}

AnsiString TVLQDaneImpKontrahenta::CzySkrotWAdresie(std::string_view word,
                                                    bool& jest) {
  if (IsBlank(word)) return AnsiString(word);
  jest = false;
  if (word.size() > 6) return AnsiString(word);  // longer than any title
  const std::string_view suffix = word.back() == '.' ? "." : "";
  const AnsiString lower = AnsiLowerCase(word);
  for (std::string_view title : {"\x9Cw", "ks", "gen", "rtm", "mjr", "marsz"}) {
    if (lower.size() == title.size() + suffix.size() &&
        lower.compare(0, title.size(), title) == 0 &&
        lower.compare(title.size(), suffix.size(), suffix) == 0) {
      jest = true;
      return lower;
    }
  }
  return AnsiString(word);
}

void TVLQDaneImpKontrahenta::AnalizaInicjalow(
    AnsiString& text, const TMacSetOfIntegers& pozycje) {
  std::vector<long long> sorted;
  sorted.reserve(static_cast<std::size_t>(pozycje.GetCount()));
  for (int i = 0; i < pozycje.GetCount(); ++i) {
    sorted.push_back(pozycje.GetValues(i));
  }
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  UpperCaseInitials(text, sorted);
}

AnsiString TVLQDaneImpKontrahenta::ZmianaJakWZdaniu(std::string_view text) {
  AnsiString result = AnsiLowerCase(text);
  if (!result.empty()) {
    result[0] = static_cast<char>(AnsiUpperChar(result[0]));
  }
  return result;
}

bool TVLQDaneImpKontrahenta::CzyWyrazPisanyZMalychLiter(std::string_view text) {
  if (IsBlank(text)) return false;
  TStringList words;
  TxTools(Trim(text)).ParseLineFields(&words, ' ');
  TMacSetOfIntegers endings;
  for (int i = 0; i < static_cast<int>(kAdjectiveEndings.size()); ++i) {
    endings.Add(i);
  }
  for (int i = 0; i < words.Count(); ++i) {
    if (!CzyWyrazZakonczonyNa(WideToAnsi(words.Strings(i)), endings)) {
      return false;
    }
  }
  return true;
}

bool TVLQDaneImpKontrahenta::CzyWyrazZakonczonyNa(
    std::string_view word, const TMacSetOfIntegers& koncowki) {
  for (int i = 0; i < koncowki.GetCount(); ++i) {
    const int number = koncowki.GetValues(i);
    const std::string_view suffix =
        number >= 0 && number < static_cast<int>(kAdjectiveEndings.size())
            ? kAdjectiveEndings[static_cast<std::size_t>(number)]
            : std::string_view();
    const std::size_t tail = std::min(word.size(), suffix.size());
    if (TxTools(AnsiString(word.substr(word.size() - tail)))
            .Compare(suffix, true) == 0) {
      return true;
    }
  }
  return false;
}

bool TVLQDaneImpKontrahenta::CzyZnakToLitera(char c, bool& duza) {
  static constexpr std::string_view kPolishUpper =
      "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF";
  static constexpr std::string_view kPolishLower =
      "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
  duza =
      (c >= 'A' && c <= 'Z') || kPolishUpper.find(c) != std::string_view::npos;
  return duza || (c >= 'a' && c <= 'z') ||
         kPolishLower.find(c) != std::string_view::npos;
}

bool TVLQDaneImpKontrahenta::CzyZnakToCudzyslow(char c) {
  return c == '"' || c == '\'' || c == '\x84' || c == '\x94';
}

}  // namespace druvo
