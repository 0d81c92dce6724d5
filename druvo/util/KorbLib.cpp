#include "druvo/util/KorbLib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <tuple>
#include <utility>

#include "druvo/platform/Exceptions.h"
#include "druvo/platform/NumberText.h"
#include "druvo/util/KorbLib_internal.h"

namespace druvo {

// ---------------------------------------------------------------------------
// TMLgTools

namespace {

struct TranslationStore {
  std::mutex mutex;
  std::map<std::pair<AnsiString, AnsiString>, WideString> texts;
};

TranslationStore& Translations() {
  static TranslationStore store;
  return store;
}

using TranslationMap = std::map<std::pair<AnsiString, AnsiString>, WideString>;

std::string ReadWholeFile(const std::string& path) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw Exception("Cannot read file '" + path + "'");
  std::string content;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    content.append(chunk, got);
  }
  if (std::ferror(file.get())) {
    throw Exception("Cannot read file '" + path + "'");
  }
  return content;
}

// One line of the translation file: a "[section]" header switches the
// section, "key=value" adds an entry; anything else is ignored.
void ParseTranslationLine(std::string_view line, AnsiString& section,
                          TranslationMap& entries) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const AnsiString trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return;
  if (trimmed[0] == '[') {
    const size_t close = trimmed.find(']');
    if (close != AnsiString::npos) {
      section =
          Utf8ToAnsi(Trim(std::string_view(trimmed).substr(1, close - 1)));
    }
    return;
  }
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const AnsiString key = Utf8ToAnsi(Trim(line.substr(0, equals)));
  if (key.empty()) return;
  entries[{section, key}] = Utf8ToWide(line.substr(equals + 1));
}

}  // namespace

WideString TMLgTools::GetString(const AnsiString& section,
                                const AnsiString& key, int /*language*/,
                                const WideString& fallback) {
  TranslationStore& store = Translations();
  std::lock_guard<std::mutex> lock(store.mutex);
  const auto found = store.texts.find({section, key});
  return found == store.texts.end() ? fallback : found->second;
}

void TMLgTools::SetString(const AnsiString& section, const AnsiString& key,
                          const WideString& text) {
  TranslationStore& store = Translations();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.texts[{section, key}] = text;
}

void TMLgTools::LoadFromFile(const std::string& path) {
  std::string_view content;
  const std::string bytes = ReadWholeFile(path);
  content = bytes;
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);

  TranslationMap entries;
  AnsiString section;
  while (!content.empty()) {
    const size_t end = content.find('\n');
    ParseTranslationLine(content.substr(0, end), section, entries);
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }

  TranslationStore& store = Translations();
  std::lock_guard<std::mutex> lock(store.mutex);
  for (auto& entry : entries) {
    store.texts[entry.first] = std::move(entry.second);
  }
}

void TMLgTools::Clear() {
  TranslationStore& store = Translations();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.texts.clear();
}

// ---------------------------------------------------------------------------
// TxTools

namespace {

// Upper-cases by the CP1250 tables; the length never changes, so positions in
// the folded text are positions in the original.
AnsiString FoldCase(std::string_view text) { return AnsiUpperCase(text); }

// Position of `needle` in `haystack` at or after `start`, or -1. An empty
// needle is never found.
int FindIn(std::string_view haystack, std::string_view needle, int start) {
  if (needle.empty()) return -1;
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > haystack.size()) return -1;
  const size_t found = haystack.find(needle, static_cast<size_t>(start));
  return found == std::string_view::npos ? -1 : static_cast<int>(found);
}

// The part [start, start + count) of a text of `length` characters, clamped
// to the text; a negative start counts as 0, a negative count as 0.
std::pair<size_t, size_t> ClampRange(size_t length, int start, int count) {
  const size_t from = std::min(static_cast<size_t>(std::max(start, 0)), length);
  const size_t size =
      std::min(static_cast<size_t>(std::max(count, 0)), length - from);
  return {from, size};
}

}  // namespace

TxTools::TxTools(AnsiString text) : text_(std::move(text)) {}

int TxTools::Compare(std::string_view other, bool ignoreCase) const {
  return ignoreCase ? AnsiCompareText(text_, other)
                    : AnsiCompareStr(text_, other);
}

bool TxTools::ContainsStr(std::string_view word, bool ignoreCase) const {
  return FindStr(word, ignoreCase, 0) >= 0;
}

bool TxTools::ContainsChar(char c) const {
  return text_.find(c) != AnsiString::npos;
}

bool TxTools::ContainsAnyChar(std::string_view set) const {
  return text_.find_first_of(set) != AnsiString::npos;
}

bool TxTools::ContainsAnyOtherChar(std::string_view set) const {
  return text_.find_first_not_of(set) != AnsiString::npos;
}

AnsiString TxTools::DelAnyOtherChar(std::string_view set) const {
  AnsiString result;
  for (char c : text_) {
    if (set.find(c) != std::string_view::npos) result += c;
  }
  return result;
}

AnsiString TxTools::AnyChar2Char(std::string_view set, char c) const {
  AnsiString result = text_;
  for (char& current : result) {
    if (set.find(current) != std::string_view::npos) current = c;
  }
  return result;
}

AnsiString TxTools::Chars2Str(char c, std::string_view replacement) const {
  AnsiString result;
  for (char current : text_) {
    if (current == c) {
      result += replacement;
    } else {
      result += current;
    }
  }
  return result;
}

AnsiString TxTools::Str2Str(std::string_view from, std::string_view to,
                            bool ignoreCase) const {
  if (from.empty()) return text_;
  const AnsiString haystack = ignoreCase ? FoldCase(text_) : text_;
  const AnsiString needle = ignoreCase ? FoldCase(from) : AnsiString(from);
  AnsiString result;
  int copied = 0;
  for (int found = FindIn(haystack, needle, 0); found >= 0;
       found = FindIn(haystack, needle, copied)) {
    result.append(text_, copied, found - copied);
    result += to;
    copied = found + static_cast<int>(needle.size());
  }
  result.append(text_, copied);
  return result;
}

int TxTools::CountStr(std::string_view s, bool ignoreCase) const {
  if (s.empty()) return 0;
  const AnsiString haystack = ignoreCase ? FoldCase(text_) : text_;
  const AnsiString needle = ignoreCase ? FoldCase(s) : AnsiString(s);
  int count = 0;
  for (int found = FindIn(haystack, needle, 0); found >= 0;
       found = FindIn(haystack, needle, found + static_cast<int>(s.size()))) {
    ++count;
  }
  return count;
}

int TxTools::FindStr(std::string_view s, bool ignoreCase, int start) const {
  if (!ignoreCase) return FindIn(text_, s, start);
  return FindIn(FoldCase(text_), FoldCase(s), start);
}

AnsiString TxTools::ExtractFrom(int start, int count) const {
  const auto [from, size] = ClampRange(text_.size(), start, count);
  return text_.substr(from, size);
}

AnsiString TxTools::DelCharsFrom(int start, int count) const {
  const auto [from, size] = ClampRange(text_.size(), start, count);
  AnsiString result = text_;
  result.erase(from, size);
  return result;
}

int TxTools::ParseLineFields(TStrings* list, char separator) const {
  if (list == nullptr || text_.empty()) return 0;
  int added = 0;
  size_t fieldStart = 0;
  while (true) {
    const size_t end = text_.find(separator, fieldStart);
    const size_t length =
        (end == AnsiString::npos ? text_.size() : end) - fieldStart;
    list->Add(AnsiToWide(std::string_view(text_).substr(fieldStart, length)));
    ++added;
    if (end == AnsiString::npos) return added;
    fieldStart = end + 1;
  }
}

// ---------------------------------------------------------------------------
// TxfTools

namespace {

// A finite decimal number: 0.d1d2d3... * 10^pointPos, the digits without
// leading zeros; no digits means zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  long long pointPos = 0;
};

// The shortest decimal text that reads back as `value` (finite values only).
Decimal ShortestDecimal(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                     std::chars_format::scientific);
  const std::string_view text(buffer, written.ptr - buffer);
  Decimal result;
  size_t pos = 0;
  if (text[pos] == '-') {
    result.negative = true;
    ++pos;
  }
  for (; pos < text.size() && text[pos] != 'e'; ++pos) {
    if (text[pos] != '.') result.digits += text[pos];
  }
  int exponent = 0;
  pos += (text[pos + 1] == '+') ? 2 : 1;  // 'e' and a '+' sign
  std::from_chars(text.data() + pos, text.data() + text.size(), exponent);
  result.pointPos = exponent + 1;
  if (result.digits.find_first_not_of('0') == std::string::npos) {
    result.digits.clear();
  }
  return result;
}

// Rounds half away from zero so that no digit is left below 10^-places;
// false when no digit had to go.
bool RoundDecimal(Decimal& number, long long places) {
  const long long keep = number.pointPos + places;
  if (keep >= static_cast<long long>(number.digits.size())) return false;
  if (keep < 0) {
    number.digits.clear();
    return true;
  }
  const bool roundUp = number.digits[keep] >= '5';
  number.digits.resize(keep);
  if (roundUp) {
    long long i = keep - 1;
    for (; i >= 0 && number.digits[i] == '9'; --i) number.digits[i] = '0';
    if (i >= 0) {
      ++number.digits[i];
    } else {
      number.digits.insert(0, 1, '1');
      ++number.pointPos;
    }
  }
  const size_t lastNonZero = number.digits.find_last_not_of('0');
  number.digits.resize(lastNonZero == std::string::npos ? 0 : lastNonZero + 1);
  return true;
}

// The double nearest to `number`, or `fallback` when it is out of range.
double ToDouble(const Decimal& number, double fallback) {
  if (number.digits.empty()) return 0.0;
  std::string text = number.negative ? "-0." : "0.";
  text += number.digits;
  text += 'e';
  text += std::to_string(number.pointPos);
  double value = 0.0;
  const auto parsed =
      std::from_chars(text.data(), text.data() + text.size(), value);
  return parsed.ec == std::errc() ? value : fallback;
}

// Fixed notation: the digits before the point (at least "0"), and after it.
std::pair<std::string, std::string> FixedParts(const Decimal& number) {
  const long long length = static_cast<long long>(number.digits.size());
  if (length == 0) return {"0", ""};
  if (number.pointPos <= 0) {
    return {"0", std::string(-number.pointPos, '0') + number.digits};
  }
  if (number.pointPos >= length) {
    return {number.digits + std::string(number.pointPos - length, '0'), ""};
  }
  return {number.digits.substr(0, number.pointPos),
          number.digits.substr(number.pointPos)};
}

AnsiString NotAFloat(std::string_view text) {
  AnsiString message = "'";
  message.append(text).append("' is not a valid floating point value");
  return message;
}

// An optional '-', digits, and an optional '.' followed by digits.
bool IsPlainDecimal(std::string_view text) {
  size_t pos = (!text.empty() && text[0] == '-') ? 1 : 0;
  const auto digitsFrom = [&text](size_t from) {
    size_t end = from;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end - from;
  };
  const size_t integerDigits = digitsFrom(pos);
  if (integerDigits == 0) return false;
  pos += integerDigits;
  if (pos == text.size()) return true;
  if (text[pos] != '.') return false;
  const size_t fractionDigits = digitsFrom(pos + 1);
  return fractionDigits > 0 && pos + 1 + fractionDigits == text.size();
}

// Rounding without the decimal text. With x = |value| * 10^places below
// 2^48, the shortest text S lies within half an ulp of the value, so S * 10^k
// is within 2^-5 of the exact product and the product is within 2^-5 of x:
// S * 10^k is within 1/16 of x. When x's fraction is below 3/8 or above 5/8,
// S rounds half away from zero to trunc(x) or trunc(x) + 1 (S itself when it
// has no more than `places` decimals); only fractions near a half, where S
// decides the tie, need the text.
constexpr double kPowersOf10[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr double kFastLimit = 281474976710656.0;  // 2^48

// |value| rounded to `places` decimals, times 10^places, into `scaled`;
// false when the fast path cannot decide (the caller uses the text then).
bool ScaledRound(double value, int places, std::uint64_t& scaled) {
  if (places < 0 || places > 22) return false;
  const double x = std::fabs(value) * kPowersOf10[places];
  if (!(x < kFastLimit)) return false;
  const double whole = std::trunc(x);
  const double fraction = x - whole;  // exact below 2^52
  if (fraction > 0.375 && fraction < 0.625) return false;
  scaled = static_cast<std::uint64_t>(whole) + (fraction >= 0.625 ? 1 : 0);
  return true;
}

// The number of decimal digits of `x` (0 for 0): the bit length gives it
// but for one, which a comparison settles (1233 / 4096 is just below
// log10(2)).
int DecimalDigits(std::uint64_t x) {
  static constexpr auto kPowers = [] {
    std::array<std::uint64_t, 20> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i) {
      powers[i] = powers[i - 1] * 10;
    }
    return powers;
  }();
  const int guess = (std::bit_width(x | 1) * 1233) >> 12;
  return guess + (x >= kPowers[guess] ? 1 : 0);
}

// Writes `scaled` / 10^places in fixed notation at `out`, after a '-' when
// `negative`, trailing zeros of the fraction dropped down to `minimum`
// places; returns the end. The length is known first, so the digits go
// straight to their places, from the last one.
char* WriteFixed(char* out, std::uint64_t scaled, bool negative, int places,
                 int minimum) {
  while (places > minimum && scaled % 10 == 0) {
    scaled /= 10;
    --places;
  }
  const int whole = std::max(DecimalDigits(scaled) - places, 1);
  if (negative) *out++ = '-';
  char* const end = out + whole + (places > 0 ? places + 1 : 0);
  char* p = end;
  const auto digit = [&scaled] {
    const auto c = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
    return c;
  };
  for (int i = 0; i < places; ++i) *--p = digit();
  if (places > 0) *--p = '.';
  for (int i = 0; i < whole; ++i) *--p = digit();
  return end;
}

// Adds the decimal digits of `text` from `i` on to `mantissa`; returns
// where they end.
std::size_t ReadDigits(std::string_view text, std::size_t i,
                       std::uint64_t& mantissa) {
  for (; i < text.size(); ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) break;
    mantissa = mantissa * 10 + digit;
  }
  return i;
}

// A plain decimal of at most 15 digits is m / 10^f with both exact doubles:
// one division rounds it correctly, as from_chars would. False for others.
bool ReadShortDecimal(std::string_view text, double& value) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  std::uint64_t mantissa = 0;  // wraps for long texts, which are refused
  const std::size_t point = ReadDigits(text, start, mantissa);
  if (point == start) return false;
  std::size_t fraction = 0;
  if (point < text.size()) {
    if (text[point] != '.') return false;
    const std::size_t end = ReadDigits(text, point + 1, mantissa);
    fraction = end - point - 1;
    if (fraction == 0 || end != text.size()) return false;
  }
  if (point - start + fraction > 15) return false;
  const double magnitude =
      static_cast<double>(mantissa) / kPowersOf10[fraction];
  value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

namespace korblib_detail {

char* QuickDBField(char* out, double value, int minDecimals, int maxDecimals) {
  std::uint64_t scaled = 0;
  if (!ScaledRound(value, maxDecimals, scaled)) return nullptr;
  // Never "-0": a negative value rounded to zero loses its sign.
  return WriteFixed(out, scaled, scaled != 0 && value < 0, maxDecimals,
                    std::clamp(minDecimals, 0, maxDecimals));
}

}  // namespace korblib_detail

TxfTools::TxfTools(double value) : value_(value) {}

double TxfTools::Round(int places) const {
  if (!std::isfinite(value_)) return value_;
  std::uint64_t scaled = 0;
  if (ScaledRound(value_, places, scaled)) {
    // Division by an exact power of ten rounds correctly, as reading the
    // decimal text would. A value already within `places` comes back as it
    // was; a value rounded away to zero becomes +0.
    if (scaled == 0) return value_ == 0 ? value_ : 0.0;
    const double rounded = static_cast<double>(scaled) / kPowersOf10[places];
    return value_ < 0 ? -rounded : rounded;
  }
  Decimal number = ShortestDecimal(value_);
  if (!RoundDecimal(number, places)) return value_;
  return ToDouble(number, value_);
}

bool TxfTools::FromString(std::string_view text, int base, bool strict) {
  double parsed = 0.0;
  if (base == 10 && ReadShortDecimal(text, parsed)) {
    value_ = parsed;
    return true;
  }
  AnsiString error;
  if (base != 10) {
    error = "Unsupported number base " + std::to_string(base);
  } else if (!IsPlainDecimal(text) ||
             std::from_chars(text.data(), text.data() + text.size(), parsed,
                             std::chars_format::fixed)
                     .ec != std::errc()) {
    error = NotAFloat(text);
  }
  if (!error.empty()) {
    if (strict) throw EConvertError(error);
    return false;
  }
  value_ = parsed;
  return true;
}

AnsiString TxfTools::ToDBField(int minDecimals, int maxDecimals) const {
  if (std::isnan(value_)) return "NAN";
  if (std::isinf(value_)) return value_ < 0 ? "-INF" : "INF";
  char text[korblib_detail::kQuickDBFieldRoom];
  if (const char* end = korblib_detail::QuickDBField(text, value_, minDecimals,
                                                     maxDecimals)) {
    return AnsiString(text, static_cast<std::size_t>(end - text));
  }
  Decimal number = ShortestDecimal(value_);
  RoundDecimal(number, maxDecimals);
  auto [integerPart, fraction] = FixedParts(number);
  const size_t minimum =
      static_cast<size_t>(std::clamp(minDecimals, 0, std::max(maxDecimals, 0)));
  while (fraction.size() > minimum && fraction.back() == '0')
    fraction.pop_back();
  fraction.resize(std::max(fraction.size(), minimum), '0');

  AnsiString result = (number.negative && !number.digits.empty()) ? "-" : "";
  result += integerPart;
  if (!fraction.empty()) result += "." + fraction;
  return result;
}

// ---------------------------------------------------------------------------
// TdtTools

namespace {

AnsiString ZeroPadded(unsigned value, size_t width) {
  AnsiString text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

TdtTools::TdtTools(TDateTime date) : date_(date) {}

int TdtTools::DateCompare(TDateTime other) const {
  unsigned short year = 0, month = 0, day = 0;
  unsigned short otherYear = 0, otherMonth = 0, otherDay = 0;
  DecodeDate(date_, year, month, day);
  DecodeDate(other, otherYear, otherMonth, otherDay);
  const auto mine = std::tie(year, month, day);
  const auto theirs = std::tie(otherYear, otherMonth, otherDay);
  if (mine < theirs) return -1;
  return mine == theirs ? 0 : 1;
}

AnsiString TdtTools::ToString(int form) const {
  if (form != 12 && form != 13) {
    throw Exception("Unsupported date text form " + std::to_string(form));
  }
  unsigned short year = 0, month = 0, day = 0;
  DecodeDate(date_, year, month, day);
  const AnsiString yyyy = ZeroPadded(year, 4);
  const AnsiString mm = ZeroPadded(month, 2);
  const AnsiString dd = ZeroPadded(day, 2);
  return form == 12 ? dd + "." + mm + "." + yyyy : yyyy + mm + dd;
}

// ---------------------------------------------------------------------------
// TMacSetOfIntegers

TMacSetOfIntegers::TMacSetOfIntegers(int capacity) {
  values_.reserve(static_cast<size_t>(std::max(capacity, 0)));
}

bool TMacSetOfIntegers::Add(int value) {
  if (Contains(value)) return false;
  values_.push_back(value);
  return true;
}

void TMacSetOfIntegers::Clear() { values_.clear(); }

bool TMacSetOfIntegers::Contains(int value) const {
  return std::find(values_.begin(), values_.end(), value) != values_.end();
}

int TMacSetOfIntegers::GetValues(int index) const {
  if (index < 0 || index >= GetCount()) {
    throw EListError("List index out of bounds (" + std::to_string(index) +
                     ")");
  }
  return values_[index];
}

void TMacSetOfIntegers::CopySet(const TMacSetOfIntegers& other) {
  if (&other != this) values_ = other.values_;
}

// ---------------------------------------------------------------------------
// TMacList

TMacList::TMacList(int capacity) {
  items_.reserve(static_cast<size_t>(std::max(capacity, 0)));
}

int TMacList::Add(void* item) {
  items_.push_back(item);
  return GetCount() - 1;
}

void TMacList::Clear() { items_.clear(); }

void* TMacList::GetItems(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[index];
}

// ---------------------------------------------------------------------------
// TMFile

TMFile::TMFile() = default;

TMFile::TMFile(const std::string& path, bool append) { Open(path, append); }

TMFile::~TMFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void TMFile::Open(const std::string& path, bool append) {
  Close();
  file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
  if (file_ == nullptr) throw Exception("Cannot open file '" + path + "'");
  path_ = path;
}

void TMFile::WriteLine(std::string_view line, std::string_view terminator) {
  if (file_ == nullptr) throw Exception("No file is open for writing");
  // Each line is handed to the system at once, so that a failing write is
  // reported by the call that made it.
  const bool written =
      std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
      std::fwrite(terminator.data(), 1, terminator.size(), file_) ==
          terminator.size() &&
      std::fflush(file_) == 0;
  if (!written) throw Exception("Cannot write to file '" + path_ + "'");
}

void TMFile::Close() {
  if (file_ == nullptr) return;
  const bool flushed = std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) {
    throw Exception("Cannot write to file '" + path_ + "'");
  }
}

}  // namespace druvo
