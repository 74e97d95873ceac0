// Date and time as the class library keeps them: a TDateTime is a double counting days since
// 1899-12-30 00:00 (the fraction is the time of day). Encoding, decoding, the clock, the local
// time-zone bias and the class library's FormatDateTime rules.
#pragma once

#include "platform/rtl/Types.h"

using TDateTime = double;

// Days between 1899-12-30 and 1970-01-01.
constexpr double UnixDateDelta = 25569.0;
constexpr double HoursPerDay = 24.0;
constexpr double MinsPerDay = 24.0 * 60.0;
constexpr double SecsPerDay = 24.0 * 60.0 * 60.0;
constexpr double MSecsPerDay = 24.0 * 60.0 * 60.0 * 1000.0;

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);

// Encoders raise EConvertError ("Invalid argument to date encode" / "Invalid argument to time
// encode") for values out of range; the Try forms return false instead.
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec,
                         Word MSec);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec);
// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime Date);

// The local wall clock (with daylight saving), to the millisecond.
TDateTime Now();
TDateTime Date();  // today at 00:00
TDateTime Time();  // time of day only

// Seconds since 1970-01-01 00:00 UTC <-> a date-time read as UTC (no zone applied).
TDateTime UnixToDateTime(Int64 UnixSecs);
Int64 DateTimeToUnix(TDateTime Value);  // rounded to the nearest second

// Minutes to add to local time to get UTC (Windows' sign: UTC+2 gives -120).
// LocalTimeBiasMinutes gives the bias in effect at the given instant, daylight saving
// included; StandardTimeBiasMinutes the zone's bias without daylight saving.
Integer LocalTimeBiasMinutes(Int64 UnixSecs);
Integer LocalTimeBiasMinutes();  // now
Integer StandardTimeBiasMinutes();
// The local wall-clock time of the instant UnixSecs (daylight saving applied).
TDateTime UnixToLocalDateTime(Int64 UnixSecs);
// The instant of a local wall-clock time, as seconds since 1970 (UTC).
Int64 LocalDateTimeToUnix(TDateTime LocalValue);

// The class library's format specifiers: c, d, dd, ddd, dddd, ddddd, m, mm, mmm, mmmm, yy, yyyy,
// h, hh, n, nn, s, ss, z, zzz, t, tt, am/pm, a/p, ampm, /, :, "..." and '...' literals. "m"/"mm"
// right after "h"/"hh" (or just before "s"/"ss") means minutes. Fixed locale: English names,
// date separator '/', time separator ':', short date "yyyy-mm-dd", long time "hh:nn:ss".
String FormatDateTime(const String& Fmt, TDateTime Value);
String DateTimeToStr(TDateTime Value);  // "yyyy-mm-dd hh:nn:ss" (time part left out at midnight)
String DateToStr(TDateTime Value);      // "yyyy-mm-dd"
String TimeToStr(TDateTime Value);      // "hh:nn:ss"

// "h:n[:s[.zzz]]" with optional "am"/"pm"; raises EConvertError "'%s' is not a valid time".
TDateTime StrToTime(const String& S);
bool TryStrToTime(const String& S, TDateTime& Value);
// "yyyy-mm-dd" or "yyyy/mm/dd", optionally followed by a blank and a time.
TDateTime StrToDate(const String& S);  // EConvertError "'%s' is not a valid date"
bool TryStrToDate(const String& S, TDateTime& Value);
TDateTime StrToDateTime(const String& S);  // EConvertError "'%s' is not a valid date and time"
bool TryStrToDateTime(const String& S, TDateTime& Value);
