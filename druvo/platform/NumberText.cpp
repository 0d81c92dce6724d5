#include "druvo/platform/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "druvo/platform/Exceptions.h"

namespace druvo {

TFormatSettings FormatSettings;

namespace {

constexpr int kGeneralPrecision = 15;

bool IsBlank(unsigned char c) { return c <= 32; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

std::string_view StripBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// Digits of one base (10 or 16) up to 32 bits; false when a byte is not a
// digit or the value needs more than 32 bits.
bool ParseMagnitude(std::string_view digits, int base, std::uint64_t& value) {
  if (digits.empty()) return false;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value, base);
  return ec == std::errc{} && ptr == end && value <= 0xFFFFFFFFu;
}

// The hex prefixes "$" and "0x"/"0X"; strips the prefix when found.
bool StripHexPrefix(std::string_view& text) {
  if (!text.empty() && text.front() == '$') {
    text.remove_prefix(1);
    return true;
  }
  if (text.size() >= 2 && text[0] == '0' &&
      (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    return true;
  }
  return false;
}

// A value's 15 significant digits (trailing zeros removed) and its decimal
// exponent: the number of digits before the decimal point.
struct TDecimalDigits {
  std::string Digits;
  int Exponent = 0;
};

TDecimalDigits RoundToGeneralPrecision(double magnitude) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                    std::chars_format::scientific, kGeneralPrecision - 1);
  const std::string_view text(buffer, result.ptr - buffer);  // d.ddde+XX
  const std::size_t mark = text.find('e');
  TDecimalDigits decimal;
  for (char c : text.substr(0, mark))
    if (c != '.') decimal.Digits += c;
  while (decimal.Digits.size() > 1 && decimal.Digits.back() == '0')
    decimal.Digits.pop_back();
  std::string_view exponent = text.substr(mark + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  int power = 0;
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
  decimal.Exponent = power + 1;
  return decimal;
}

AnsiString FixedForm(const TDecimalDigits& decimal, char separator) {
  const int count = static_cast<int>(decimal.Digits.size());
  if (decimal.Exponent <= 0)
    return AnsiString("0") + separator +
           AnsiString(static_cast<std::size_t>(-decimal.Exponent), '0') +
           decimal.Digits;
  if (count <= decimal.Exponent)
    return decimal.Digits +
           AnsiString(static_cast<std::size_t>(decimal.Exponent - count), '0');
  return decimal.Digits.substr(0, decimal.Exponent) + separator +
         decimal.Digits.substr(decimal.Exponent);
}

AnsiString ExponentForm(const TDecimalDigits& decimal, char separator) {
  AnsiString text(1, decimal.Digits[0]);
  if (decimal.Digits.size() > 1) text += separator + decimal.Digits.substr(1);
  return text + 'E' + IntToStr(decimal.Exponent - 1);
}

// The parts of a decimal number text: sign, mantissa digits around the
// separator and the exponent digits.
struct TFloatText {
  bool Negative = false;
  std::string_view IntegerDigits;
  std::string_view FractionDigits;
  bool NegativeExponent = false;
  std::string_view ExponentDigits;
};

std::string_view TakeDigits(std::string_view& text) {
  std::size_t count = 0;
  while (count < text.size() &&
         IsDigit(static_cast<unsigned char>(text[count])))
    ++count;
  const std::string_view digits = text.substr(0, count);
  text.remove_prefix(count);
  return digits;
}

bool TakeSign(std::string_view& text, bool& negative) {
  if (text.empty() || (text.front() != '+' && text.front() != '-'))
    return false;
  negative = text.front() == '-';
  text.remove_prefix(1);
  return true;
}

bool SplitFloatText(std::string_view text, char separator, TFloatText& parts) {
  text = StripBlanks(text);
  TakeSign(text, parts.Negative);
  parts.IntegerDigits = TakeDigits(text);
  if (!text.empty() && text.front() == separator) {
    text.remove_prefix(1);
    parts.FractionDigits = TakeDigits(text);
  }
  if (parts.IntegerDigits.empty() && parts.FractionDigits.empty()) return false;
  if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
    text.remove_prefix(1);
    TakeSign(text, parts.NegativeExponent);
    parts.ExponentDigits = TakeDigits(text);
    if (parts.ExponentDigits.empty()) return false;
  }
  return text.empty();
}

// Decimal position of the first significant digit (1 for "1", 0 for "0.1"),
// with the exponent saturated; used to tell overflow from underflow.
long long LeadingDigitPosition(const TFloatText& parts) {
  std::size_t zeros = parts.IntegerDigits.find_first_not_of('0');
  long long position = 0;
  if (zeros != std::string_view::npos) {
    position = static_cast<long long>(parts.IntegerDigits.size() - zeros);
  } else {
    zeros = parts.FractionDigits.find_first_not_of('0');
    if (zeros == std::string_view::npos) return LLONG_MIN / 4;
    position = -static_cast<long long>(zeros);
  }
  long long exponent = 0;
  for (char c : parts.ExponentDigits) {
    exponent = exponent * 10 + (c - '0');
    if (exponent > 1000000000) break;
  }
  return position + (parts.NegativeExponent ? -exponent : exponent);
}

bool ConvertFloatText(const TFloatText& parts, double& value) {
  std::string canonical;
  canonical.reserve(parts.IntegerDigits.size() + parts.FractionDigits.size() +
                    parts.ExponentDigits.size() + 4);
  canonical.append(parts.IntegerDigits.empty() ? "0" : parts.IntegerDigits);
  canonical.append(".").append(
      parts.FractionDigits.empty() ? "0" : parts.FractionDigits);
  if (!parts.ExponentDigits.empty())
    canonical.append(parts.NegativeExponent ? "e-" : "e")
        .append(parts.ExponentDigits);
  double magnitude = 0;
  const auto [ptr, ec] = std::from_chars(
      canonical.data(), canonical.data() + canonical.size(), magnitude);
  if (ec == std::errc::result_out_of_range) {
    // Too large is an error; too small reads as zero.
    if (LeadingDigitPosition(parts) > 0) return false;
    magnitude = 0;
  } else if (ec != std::errc{} || ptr != canonical.data() + canonical.size()) {
    return false;
  }
  value = parts.Negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

AnsiString IntToStr(long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return AnsiString(buffer, result.ptr);
}

bool TryStrToInt(std::string_view text, int& value) {
  std::string_view rest = StripBlanks(text);
  bool negative = false;
  TakeSign(rest, negative);
  std::uint64_t magnitude = 0;
  if (StripHexPrefix(rest)) {
    // Hex gives the 32 bits as they are: "$FFFFFFFF" is -1.
    if (!ParseMagnitude(rest, 16, magnitude)) return false;
    const auto bits =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    value = negative ? static_cast<int>(0u - static_cast<std::uint32_t>(bits))
                     : bits;
    return true;
  }
  if (!ParseMagnitude(rest, 10, magnitude)) return false;
  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  if (magnitude > limit) return false;
  value = negative ? static_cast<int>(-static_cast<long long>(magnitude))
                   : static_cast<int>(magnitude);
  return true;
}

int StrToInt(std::string_view text) {
  int value = 0;
  if (!TryStrToInt(text, value))
    throw EConvertError("'" + AnsiString(text) +
                        "' is not a valid integer value");
  return value;
}

int StrToIntDef(std::string_view text, int fallback) {
  int value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

AnsiString FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  const TDecimalDigits decimal = RoundToGeneralPrecision(std::fabs(value));
  const char separator = FormatSettings.DecimalSeparator;
  const AnsiString sign = value < 0 ? "-" : "";
  // Fixed notation for at most 15 digits before the point and values of at
  // least 0.0001 (after rounding); exponent form otherwise.
  if (decimal.Exponent > kGeneralPrecision || decimal.Exponent < -3)
    return sign + ExponentForm(decimal, separator);
  return sign + FixedForm(decimal, separator);
}

bool TryStrToFloat(std::string_view text, double& value) {
  TFloatText parts;
  if (!SplitFloatText(text, FormatSettings.DecimalSeparator, parts))
    return false;
  return ConvertFloatText(parts, value);
}

double StrToFloat(std::string_view text) {
  double value = 0;
  if (!TryStrToFloat(text, value))
    throw EConvertError("'" + AnsiString(text) +
                        "' is not a valid floating point value");
  return value;
}

}  // namespace druvo
