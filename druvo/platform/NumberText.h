// The runtime's number <-> text conversions, independent of the C locale.
//
// The decimal separator of FloatToStr/StrToFloat is the process-wide
// FormatSettings.DecimalSeparator (default '.'). FloatToStr writes the general
// format with 15 significant digits, switching to exponent form as the runtime
// does (1e20 gives "1E20", 1e-5 gives "1E-5"). Conversion failures raise
// EConvertError with the runtime's messages:
//   "'abc' is not a valid integer value"
//   "'abc' is not a valid floating point value"
#pragma once

#include <string_view>

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/Export.h"

namespace druvo {

struct TFormatSettings {
  char DecimalSeparator = '.';
};

DRUVO_API extern TFormatSettings FormatSettings;

DRUVO_API AnsiString IntToStr(long long value);
// Decimal digits with an optional sign (and the runtime's "$"/"0x" hex forms),
// surrounding blanks allowed.
DRUVO_API int StrToInt(std::string_view text);
DRUVO_API int StrToIntDef(std::string_view text, int fallback);
DRUVO_API bool TryStrToInt(std::string_view text, int& value);

DRUVO_API AnsiString FloatToStr(double value);
// Optional surrounding blanks, optional sign, digits with the decimal
// separator, optional exponent.
DRUVO_API double StrToFloat(std::string_view text);
DRUVO_API bool TryStrToFloat(std::string_view text, double& value);

}  // namespace druvo
