#include "druvo/util/QLOG.h"

#include <charconv>
#include <utility>

#include "druvo/platform/File.h"
#include "druvo/util/PLIK95.h"

namespace druvo {

namespace {

constexpr unsigned kReadWrite = FileGenericRead | FileGenericWrite;

// `value` with at least `width` digits, zero-padded ("%0Nd" of a value that
// is never negative).
void AppendPadded(AnsiString& out, unsigned value, int width) {
  char digits[12];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;
  const int length = static_cast<int>(end - digits);
  if (length < width) out.append(static_cast<std::size_t>(width - length), '0');
  out.append(digits, end);
}

}  // namespace

TQLog::TQLog(const AnsiString& nazwaPliku) : nazwaPliku_(nazwaPliku) {}

void TQLog::create() {
  Plik file;
  if (file.Open(nazwaPliku_, FileCreateAlways, kReadWrite) == 0) file.Close();
}

AnsiString TQLog::FormatTimeStamp(const TLocalTime& time) {
  AnsiString stamp;
  AppendPadded(stamp, time.Day, 2);
  stamp += '.';
  AppendPadded(stamp, time.Month, 2);
  stamp += '.';
  AppendPadded(stamp, time.Year, 4);
  stamp += ' ';
  AppendPadded(stamp, time.Hour, 2);
  stamp += ':';
  AppendPadded(stamp, time.Minute, 2);
  stamp += ':';
  AppendPadded(stamp, time.Second, 2);
  stamp += ':';
  AppendPadded(stamp, time.Millisecond, 3);
  return stamp;
}

void TQLog::appendWithTime(const AnsiString& tekst) {
  Plik file;
  if (file.Open(nazwaPliku_, FileOpenAlways, kReadWrite) != 0) return;
  file.Lseek(0, FileEnd);
  file.BinaryPuts(FormatTimeStamp(CurrentLocalTime()) + "  " + tekst);
  file.Close();
}

}  // namespace druvo
