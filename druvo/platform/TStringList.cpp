#include "druvo/platform/TStringList.h"

#include <algorithm>
#include <string>
#include <utility>

#include "druvo/platform/Exceptions.h"

namespace druvo {

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';

bool IsBlankOrControl(char16_t c) { return c >= 1 && c <= 32; }

// The rules of one delimited-text conversion.
struct DelimitedRules {
  char16_t delimiter;
  char16_t quote;
  bool strict;
};

// Reads a quoted item starting at the opening quote `pos`; a doubled quote
// inside stands for one quote. Stops after the closing quote, or at the end
// when the quote is never closed (the rest of the text is the item).
WideString ReadQuotedItem(std::u16string_view text, std::size_t& pos,
                          char16_t quote) {
  WideString item;
  ++pos;  // opening quote
  while (pos < text.size()) {
    const char16_t c = text[pos++];
    if (c != quote) {
      item += c;
    } else if (pos < text.size() && text[pos] == quote) {
      item += quote;
      ++pos;
    } else {
      break;  // closing quote
    }
  }
  return item;
}

// Reads an unquoted item: up to the delimiter, or (not strict) up to any
// character with code 32 or less.
WideString ReadPlainItem(std::u16string_view text, std::size_t& pos,
                         const DelimitedRules& rules) {
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] != rules.delimiter &&
         (rules.strict || text[pos] > 32)) {
    ++pos;
  }
  return WideString(text.substr(start, pos - start));
}

void SkipBlanks(std::u16string_view text, std::size_t& pos,
                const DelimitedRules& rules) {
  if (rules.strict) return;
  while (pos < text.size() && IsBlankOrControl(text[pos])) ++pos;
}

std::vector<WideString> SplitDelimited(std::u16string_view text,
                                       const DelimitedRules& rules) {
  // The text ends at a NUL character, as the runtime's zero-terminated scan.
  text = text.substr(0, std::min(text.size(), text.find(u'\0')));
  std::vector<WideString> items;
  std::size_t pos = 0;
  SkipBlanks(text, pos, rules);
  while (pos < text.size()) {
    items.push_back(text[pos] == rules.quote
                        ? ReadQuotedItem(text, pos, rules.quote)
                        : ReadPlainItem(text, pos, rules));
    SkipBlanks(text, pos, rules);
    if (pos < text.size() && text[pos] == rules.delimiter) {
      ++pos;
      if (pos == text.size())
        items.emplace_back();  // delimiter at the very end
      SkipBlanks(text, pos, rules);
    }
  }
  return items;
}

bool NeedsQuotes(const WideString& item, const DelimitedRules& rules) {
  return std::any_of(item.begin(), item.end(), [&rules](char16_t c) {
    return c == rules.delimiter || c == rules.quote ||
           (!rules.strict && c <= 32);
  });
}

WideString Quoted(const WideString& item, char16_t quote) {
  WideString result(1, quote);
  for (char16_t c : item) {
    result += c;
    if (c == quote) result += quote;
  }
  result += quote;
  return result;
}

WideString JoinDelimited(const std::vector<WideString>& items,
                         const DelimitedRules& rules) {
  if (items.size() == 1 && items.front().empty())
    return WideString(2, rules.quote);
  WideString result;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) result += rules.delimiter;
    result +=
        NeedsQuotes(items[i], rules) ? Quoted(items[i], rules.quote) : items[i];
  }
  return result;
}

}  // namespace

// ---- TStrings ---------------------------------------------------------------

TStrings::TStrings() = default;
TStrings::TStrings(const TStrings&) = default;
TStrings& TStrings::operator=(const TStrings&) = default;
TStrings::~TStrings() = default;

void TStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) +
                     ")");
  }
}

int TStrings::CompareStrings(const WideString& a, const WideString& b) const {
  return WideCompareText(a, b);
}

const WideString& TStrings::Strings(int index) const {
  CheckIndex(index);
  return lines_[index].text;
}

void TStrings::SetStrings(int index, const WideString& text) {
  CheckIndex(index);
  lines_[index].text = text;
}

void* TStrings::Objects(int index) const {
  CheckIndex(index);
  return lines_[index].object;
}

void TStrings::SetObjects(int index, void* object) {
  CheckIndex(index);
  lines_[index].object = object;
}

WideString TStrings::Names(int index) const {
  const WideString& line = Strings(index);
  const std::size_t separator = line.find(NameValueSeparator);
  return separator == WideString::npos ? WideString()
                                       : line.substr(0, separator);
}

WideString TStrings::ValueFromIndex(int index) const {
  const WideString& line = Strings(index);
  const std::size_t separator = line.find(NameValueSeparator);
  return separator == WideString::npos ? WideString()
                                       : line.substr(separator + 1);
}

int TStrings::IndexOfName(const WideString& name) const {
  for (int i = 0; i < Count(); ++i) {
    const WideString& line = lines_[i].text;
    const std::size_t separator = line.find(NameValueSeparator);
    if (separator != WideString::npos &&
        CompareStrings(line.substr(0, separator), name) == 0) {
      return i;
    }
  }
  return -1;
}

WideString TStrings::Values(const WideString& name) const {
  const int index = IndexOfName(name);
  return index < 0 ? WideString() : ValueFromIndex(index);
}

void TStrings::SetValues(const WideString& name, const WideString& value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index < 0) {
    Add(name + NameValueSeparator + value);
  } else {
    SetStrings(index, name + NameValueSeparator + value);
  }
}

WideString TStrings::Text() const {
  WideString result;
  for (const Line& line : lines_) {
    result += line.text;
    result += u"\r\n";
  }
  return result;
}

void TStrings::SetText(const WideString& text) {
  Clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end =
        std::min(text.find_first_of(u"\r\n", pos), text.size());
    Add(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == kCR) ++pos;
    if (pos < text.size() && text[pos] == kLF) ++pos;
  }
}

WideString TStrings::DelimitedText() const {
  std::vector<WideString> items;
  items.reserve(lines_.size());
  for (const Line& line : lines_) items.push_back(line.text);
  return JoinDelimited(items, {Delimiter, QuoteChar, StrictDelimiter});
}

void TStrings::SetDelimitedText(const WideString& text) {
  Clear();
  for (WideString& item :
       SplitDelimited(text, {Delimiter, QuoteChar, StrictDelimiter})) {
    Add(item);
  }
}

WideString TStrings::CommaText() const {
  std::vector<WideString> items;
  items.reserve(lines_.size());
  for (const Line& line : lines_) items.push_back(line.text);
  return JoinDelimited(items, {u',', u'"', false});
}

void TStrings::SetCommaText(const WideString& text) {
  Clear();
  for (WideString& item : SplitDelimited(text, {u',', u'"', false})) Add(item);
}

int TStrings::Add(const WideString& text) {
  lines_.push_back({text, nullptr});
  return Count() - 1;
}

int TStrings::AddObject(const WideString& text, void* object) {
  const int index = Add(text);
  lines_[index].object = object;
  return index;
}

void TStrings::AddStrings(const TStrings& other) {
  if (&other == this) {
    const TStrings copy(other);
    AddStrings(copy);
    return;
  }
  for (const Line& line : other.lines_) AddObject(line.text, line.object);
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  Clear();
  Delimiter = other.Delimiter;
  QuoteChar = other.QuoteChar;
  NameValueSeparator = other.NameValueSeparator;
  StrictDelimiter = other.StrictDelimiter;
  AddStrings(other);
}

void TStrings::Insert(int index, const WideString& text) {
  if (index != Count()) CheckIndex(index);  // inserting at the end is allowed
  lines_.insert(lines_.begin() + index, Line{text, nullptr});
}

void TStrings::Delete(int index) {
  CheckIndex(index);
  lines_.erase(lines_.begin() + index);
}

void TStrings::Exchange(int a, int b) {
  CheckIndex(a);
  CheckIndex(b);
  std::swap(lines_[a], lines_[b]);
}

void TStrings::Clear() { lines_.clear(); }

int TStrings::IndexOf(const WideString& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(lines_[i].text, text) == 0) return i;
  }
  return -1;
}

// ---- TStringList ------------------------------------------------------------

TStringList::TStringList() = default;
TStringList::~TStringList() = default;

int TStringList::CompareStrings(const WideString& a,
                                const WideString& b) const {
  if (!CaseSensitive) return TStrings::CompareStrings(a, b);
  return a < b ? -1 : (b < a ? 1 : 0);
}

int TStringList::Add(const WideString& text) {
  if (!Sorted) return TStrings::Add(text);
  // After any equal lines, so equal lines keep the order they were added in.
  const auto place =
      std::upper_bound(lines_.begin(), lines_.end(), text,
                       [this](const WideString& t, const Line& line) {
                         return CompareStrings(t, line.text) < 0;
                       });
  const auto index = static_cast<int>(place - lines_.begin());
  lines_.insert(place, Line{text, nullptr});
  return index;
}

void TStringList::Insert(int index, const WideString& text) {
  if (Sorted) throw EListError("Operation not allowed on sorted list");
  TStrings::Insert(index, text);
}

int TStringList::IndexOf(const WideString& text) const {
  return TStrings::IndexOf(text);
}

void TStringList::Sort() {
  std::stable_sort(lines_.begin(), lines_.end(),
                   [this](const Line& a, const Line& b) {
                     return CompareStrings(a.text, b.text) < 0;
                   });
}

}  // namespace druvo
