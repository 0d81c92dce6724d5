// The value family's root and the four scalar values with their conversions.
#include "druvo/qstruct/QSTRUCT.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "druvo/platform/NumberText.h"

namespace druvo {

namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads text the way sscanf's "%d" conversions and literal characters do.
class ScanfReader {
 public:
  explicit ScanfReader(std::string_view text) : text_(text) {}

  // "%<width>d": blanks skipped, then at most `width` characters of an
  // optional sign and digits, at least one digit. Saturates at the int
  // range.
  bool Int(int width, int& value) {
    Blanks();
    long long result = 0;
    bool negative = false;
    int used = 0;
    if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) {
      negative = text_[pos_++] == '-';
      ++used;
    }
    int digits = 0;
    for (; used < width && pos_ < text_.size() && text_[pos_] >= '0' &&
           text_[pos_] <= '9';
         ++used, ++digits, ++pos_) {
      if (result <= INT_MAX) result = result * 10 + (text_[pos_] - '0');
    }
    if (digits == 0) return false;
    if (negative) result = -result;
    value = static_cast<int>(result < INT_MIN   ? INT_MIN
                             : result > INT_MAX ? INT_MAX
                                                : result);
    return true;
  }
  bool Literal(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  void Blanks() {
    while (pos_ < text_.size() && IsCSpace(text_[pos_])) ++pos_;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The integer at the start of `text` ("%d"), 0 when there is none.
int ReadInteger(const AnsiString& text) {
  int value = 0;
  return ScanfReader(text).Int(INT_MAX, value) ? value : 0;
}

// Truncation toward zero, saturated at the int range; NaN gives 0.
int Truncate(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

// StrToFloat with the error swallowed: 0.0 for rejected text.
double ReadDouble(const AnsiString& text) {
  double value = 0.0;
  return TryStrToFloat(text, value) ? value : 0.0;
}

// "%lf": fixed point, six decimals, a point as separator.
AnsiString FixedText(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::fixed, 6);
  return AnsiString(buffer, result.ptr);
}

// "dd.mm.yyyy hh:nn:ss:zz", the milliseconds unpadded beyond two digits.
AnsiString DateTimeText(TDateTime value) {
  unsigned short year, month, day, hour, min, sec, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d %02d:%02d:%02d:%02d",
                day, month, year, hour, min, sec, msec);
  return buffer;
}

// Reads the text DateTimeText writes. The milliseconds take up to three
// digits, so that every written value reads back. False unless all seven
// fields are read and form a valid date and time; the value is then the date
// plus the time.
bool ReadDateTime(const AnsiString& text, TDateTime& value) {
  ScanfReader in(text);
  int day, month, year, hour, min, sec, msec;
  const bool read = in.Int(2, day) && in.Literal('.') && in.Int(2, month) &&
                    in.Literal('.') && in.Int(4, year) && in.Int(2, hour) &&
                    in.Literal(':') && in.Int(2, min) && in.Literal(':') &&
                    in.Int(2, sec) && in.Literal(':') && in.Int(3, msec);
  if (!read || day < 0 || month < 0 || year < 0 || hour < 0 || min < 0 ||
      sec < 0 || msec < 0) {
    return false;
  }
  using U = unsigned short;
  TDateTime date = 0;
  TDateTime time = 0;
  if (!TryEncodeDate(U(year), U(month), U(day), date) ||
      !TryEncodeTime(U(hour), U(min), U(sec), U(msec), time)) {
    return false;
  }
  value = date + time;
  return true;
}

}  // namespace

TQDataTypeBase::~TQDataTypeBase() = default;

// ---- TQInteger ----

void TQInteger::assign(const TQDataTypeBase* source) {
  if (auto* i = dynamic_cast<const TQInteger*>(source)) {
    value_ = i->value_;
  } else if (auto* d = dynamic_cast<const TQDouble*>(source)) {
    setAsDouble(d->getAsDouble());
  } else if (auto* s = dynamic_cast<const TQString*>(source)) {
    setAsString(s->getAsString());
  } else if (auto* t = dynamic_cast<const TQDateTime*>(source)) {
    setAsDateTime(t->getAsDateTime());
  } else {
    throw Exception("Invalid assignment for TQInteger");
  }
}

TQDataTypeBase* TQInteger::duplicate() const { return new TQInteger(*this); }
void TQInteger::setAsDouble(double value) { value_ = Truncate(value); }
void TQInteger::setAsString(const AnsiString& value) {
  value_ = ReadInteger(value);
}
AnsiString TQInteger::getAsString() const { return IntToStr(value_); }
void TQInteger::setAsDateTime(TDateTime value) { value_ = Truncate(value); }

// ---- TQDouble ----

void TQDouble::assign(const TQDataTypeBase* source) {
  if (auto* i = dynamic_cast<const TQInteger*>(source)) {
    value_ = i->getAsInteger();
  } else if (auto* d = dynamic_cast<const TQDouble*>(source)) {
    value_ = d->value_;
  } else if (auto* s = dynamic_cast<const TQString*>(source)) {
    setAsString(s->getAsString());
  } else if (auto* t = dynamic_cast<const TQDateTime*>(source)) {
    value_ = t->getAsDateTime();
  } else {
    throw Exception("Invalid assignment for IQDouble");
  }
}

TQDataTypeBase* TQDouble::duplicate() const { return new TQDouble(*this); }
int TQDouble::getAsInteger() const { return Truncate(value_); }
void TQDouble::setAsString(const AnsiString& value) {
  value_ = ReadDouble(value);
}
AnsiString TQDouble::getAsString() const { return FloatToStr(value_); }

// ---- TQString ----

void TQString::assign(const TQDataTypeBase* source) {
  if (auto* i = dynamic_cast<const TQInteger*>(source)) {
    setAsInteger(i->getAsInteger());
  } else if (auto* d = dynamic_cast<const TQDouble*>(source)) {
    value_ = d->getAsString();
  } else if (auto* s = dynamic_cast<const TQString*>(source)) {
    value_ = s->value_;
  } else if (auto* t = dynamic_cast<const TQDateTime*>(source)) {
    // The whole day count, not the date text.
    setAsInteger(t->getAsInteger());
  } else {
    throw Exception("Invalid assignment for IQString");
  }
}

TQDataTypeBase* TQString::duplicate() const { return new TQString(*this); }
void TQString::setAsInteger(int value) { value_ = IntToStr(value); }
int TQString::getAsInteger() const { return ReadInteger(value_); }
void TQString::setAsDouble(double value) { value_ = FixedText(value); }
double TQString::getAsDouble() const { return ReadDouble(value_); }
void TQString::setAsDateTime(TDateTime value) { value_ = DateTimeText(value); }
TDateTime TQString::getAsDateTime() const {
  TDateTime value = 0;
  return ReadDateTime(value_, value) ? value : 0;
}

// ---- TQDateTime ----

void TQDateTime::assign(const TQDataTypeBase* source) {
  if (auto* i = dynamic_cast<const TQInteger*>(source)) {
    value_ = i->getAsInteger();
  } else if (auto* d = dynamic_cast<const TQDouble*>(source)) {
    value_ = d->getAsDouble();
  } else if (auto* s = dynamic_cast<const TQString*>(source)) {
    value_ = s->getAsDateTime();
  } else if (auto* t = dynamic_cast<const TQDateTime*>(source)) {
    value_ = t->value_;
  } else {
    throw Exception("Invalid assignment for IQDateTime");
  }
}

TQDataTypeBase* TQDateTime::duplicate() const { return new TQDateTime(*this); }
int TQDateTime::getAsInteger() const { return Truncate(value_); }
void TQDateTime::setAsString(const AnsiString& value) {
  ReadDateTime(value, value_);
}
AnsiString TQDateTime::getAsString() const { return DateTimeText(value_); }

}  // namespace druvo
