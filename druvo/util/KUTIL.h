// Text, number and date utilities: stateless free functions that the system's
// modules call to split, clean, compare and convert CP1250 texts, to handle
// Windows paths (backslash is the only directory separator), to round
// numbers, and to turn dates into and out of the system's text and packed
// (Morvik) forms.
//
// Positions are the ones the callers rely on: field numbers are 0-based,
// everything else works on whole texts. Texts are scanned and printed by the C
// rules of the formats named at each function, but never through the C
// locale: a dot is always the decimal point. Only LkStrBackSlashNotation
// raises (Exception); String2Data and round pass the runtime's errors on;
// every other function reports failure through its result.
#pragma once

#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/TStringList.h"

namespace druvo {

// ---- Fields ----

// Field `field` (0-based) of `text` split at `separator`; "" when the field is
// empty or beyond the last one.
DRUVO_API AnsiString LkCzytajPole(const AnsiString& text, char separator,
                                  int field);
// Number of separators plus one (an empty text has one field).
DRUVO_API int LkIloscPol(const AnsiString& text, char separator);
// Clears `list` and adds every field, empty ones included, as a line.
DRUVO_API void LkSplitString(const AnsiString& text, char separator,
                             TStrings* list);
// Clears `list` and adds the text word-wrapped into lines of at most `width`
// characters, broken at the last blank of each piece.
DRUVO_API void LkPodzielString(const AnsiString& text, TStrings* list,
                               int width);

// ---- Cleaning ----

// CR and LF replaced by blanks.
DRUVO_API AnsiString ClrCrLf(const AnsiString& text);
// Every character that occurs in `chars` replaced by a blank.
DRUVO_API AnsiString LkClearChars(const AnsiString& text,
                                  const AnsiString& chars);
// Trimmed, leading '0's removed, trimmed again ("  007 " gives "7").
DRUVO_API AnsiString LkClrLeadZeros(const AnsiString& text);
// `separator` written as "\<sep>" and '\' as "\\". A backslash separator
// raises Exception with a translated message.
DRUVO_API AnsiString LkStrBackSlashNotation(const AnsiString& text,
                                            char separator);
// Equal after removing every '-' from both (exact byte comparison).
DRUVO_API bool LkNipCompareOK(const AnsiString& a, const AnsiString& b);

// ---- Polish comparison and copying ----

// Case-insensitive comparison by the Polish alphabet (A < Ą < B ... < Ż, other
// bytes above 127 before everything): -1, 0 or 1. A shorter text that is a
// prefix of the longer one sorts first. Texts end at their first zero byte.
DRUVO_API int LkStrCmp(const AnsiString& a, const AnsiString& b);
DRUVO_API int LkStrCmp(const char* a, const char* b);
// As LkStrCmp over at most `n` positions; 0 when n <= 0.
DRUVO_API int LkStrNCmp(const AnsiString& a, const AnsiString& b, int n);
DRUVO_API int LkStrNCmp(const char* a, const char* b, int n);
// Copies at most `n` bytes of `src` and a terminating zero into `dst` (which
// holds n + 1 bytes); returns `dst`.
DRUVO_API char* LkStrNCpy(char* dst, const char* src, int n);

// ---- SQL and VAT ----

// The first ',' read as '.', then one "%lf" number; 0.0 when none scans.
DRUVO_API double LkToDouble(const AnsiString& text);
// "'" + text + "'" (quotes inside are not doubled).
DRUVO_API AnsiString LkToStringSQL(const AnsiString& text);
// The value printed as "%6.4lf" with a dot ("1.5000", "-0.2500").
DRUVO_API AnsiString LkToFloatSQL(double value);
// A VAT rate code (hundredths of a percent; -1 exempt, -2 not subject, -3
// none) as a number: code / 100.0, 0.0 for the special codes.
DRUVO_API double LkVatNaL(int code);
// The rate as display text: "23 %", "8.50 %", "zw", "np", "".
DRUVO_API AnsiString LkVatNaS(int code);

// ---- Windows paths ----

// Before the last '\'; "" when there is none.
DRUVO_API AnsiString LkGetFileDir(const AnsiString& path);
// After the last '\'; the whole path when there is none.
DRUVO_API AnsiString LkGetFileName(const AnsiString& path);
// The file name without its last '.' and what follows.
DRUVO_API AnsiString LkGetShortFileName(const AnsiString& path);
// After the last '.' of the file name; "" when the name has none.
DRUVO_API AnsiString LkGetFileExt(const AnsiString& path);
// The directory with a trailing '\' ("" gives "\").
DRUVO_API AnsiString LkPrepareDir(const AnsiString& dir);
// Whether the trimmed mask ('?' one character, '*' any run, other characters
// exact) matches the whole trimmed short file name of `path`; an empty mask
// matches every path.
DRUVO_API bool LkStrFileCompare(const AnsiString& mask, const AnsiString& path);

// ---- Numbers ----

// -1, 0 or 1 (0 also for NaN).
DRUVO_API int sign(double value);
DRUVO_API int sign(int value);
// x - floor(x): frac(-1.25) is 0.75.
DRUVO_API double frac(double x);
// Nearest int, halves up (2.5 gives 3, -2.5 gives -2). Values outside the int
// range are clamped; NaN gives 0.
DRUVO_API int iround(const double& x);
// x rounded to `places` decimals by TxfTools::Round.
DRUVO_API double round(double x, int places);
// Halves (and values up to 1e-9 below a half) round up, also for negative x.
DRUVO_API double round2(double x, int places);
// Rounded up (towards +infinity) when up > 0, else down, at `places` decimals.
DRUVO_API double roundUD(const double& x, int places, int up);

// ---- Date texts ----

// "dd.mm.yyyy"
DRUVO_API AnsiString Data2String(TDateTime date);
// "'yyyy-mm-dd'" (with the quotes)
DRUVO_API AnsiString Data2SQLString(TDateTime date);
// "dd.mm.yyyy hh:nn"
DRUVO_API AnsiString DataCzas2String(TDateTime date);
// "dd.mm.yyyy hh:nn:ss"
DRUVO_API AnsiString DataCzas2StringEx(TDateTime date);
// "yyyymmddhhnnss"
DRUVO_API AnsiString DataCzas2StringNoSep(TDateTime date);
// "yyyymmddhhnnsszzz"
DRUVO_API AnsiString DataCzas2StringNoSepEx(TDateTime date);
// "_yyyy-mm-dd_hh-nn", a stamp for file names.
DRUVO_API AnsiString DataCzas2StringFN(TDateTime date);
// A week value (year * 100 + week) as "week / year": 202401 gives "1 / 2024".
DRUVO_API AnsiString FmtNrTyg2String(int weekValue);

// ---- Date input ----

// "d.m.yyyy" (parts of at most 2, 2, 4 digits) when the text holds '.', else
// "yyyymmdd"; the date at midnight. An impossible date raises EConvertError.
DRUVO_API TDateTime String2Data(const AnsiString& text);
// "'yyyy-mm-dd'"; the date at midnight, 0.0 when it cannot be encoded.
DRUVO_API TDateTime SQLString2Data(const AnsiString& text);
// "%d.%d.%d" (day, month, year): 0 and the date stored, or -1 with `date`
// unchanged.
DRUVO_API int MakeDate(TDateTime& date, const char* text);
// "%d:%d" (hour, minute): 0 and the time of day stored, or -1.
DRUVO_API int MakeTime(TDateTime& date, const char* text);
// Both of the above: 0 and date + time stored, or -1.
DRUVO_API int MakeDateTime(TDateTime& date, const char* dateText,
                           const char* timeText);

// ---- Morvik packed form ----

// Fills 4 bytes (century, year in century, month, day); returns `bytes`.
DRUVO_API unsigned char* ToMorvikDate(const TDateTime& date,
                                      unsigned char* bytes);
// Fills 3 bytes (hour, minute, second); returns `bytes`.
DRUVO_API unsigned char* ToMorvikTime(const TDateTime& date,
                                      unsigned char* bytes);
// Date + time from the packed forms: 0, or -1 with `date` unchanged when
// either cannot be encoded.
DRUVO_API int FromMorvikDateTime(TDateTime& date,
                                 const unsigned char* dateBytes,
                                 const unsigned char* timeBytes);

// ---- Calendar facts ----

DRUVO_API int LkYear(TDateTime date);
DRUVO_API int LkMonth(TDateTime date);
// Days of `month` in `year` (Gregorian leap years); 0 for a month outside
// 1..12.
DRUVO_API int LkDaysInMonth(int month, int year);
// (date - its whole days) * 86400, truncated.
DRUVO_API int GetSecondsFromDate(TDateTime date);
// Week of the year: weeks begin on Sunday and week 1 holds 1 January.
DRUVO_API int LkWeekOfTheYear(TDateTime date);
// year * 100 + LkWeekOfTheYear(date).
DRUVO_API int QFmtNrTygRoku(TDateTime date);
// The translated month name; "" for a month outside 1..12.
DRUVO_API AnsiString LkMonth2String(int month);

}  // namespace druvo
