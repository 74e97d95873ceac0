// TDateTime arithmetic, the clock and the local time zone, and the class library's date-time
// formatting and parsing (fixed English/ISO settings).
#include "platform/rtl/DateUtils.h"

#include <cmath>
#include <ctime>
#include <string>
#include <utility>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

constexpr Int64 MSecsPerDayI = 86400000;
constexpr const char* ShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* LongDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
constexpr const char* ShortMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* LongMonthNames[] = {"January", "February", "March",     "April",
                                          "May",     "June",     "July",      "August",
                                          "September", "October", "November", "December"};
constexpr const char* ShortDateFormat = "yyyy-mm-dd";
constexpr const char* LongDateFormat = "dddd, d mmmm yyyy";
constexpr const char* ShortTimeFormat = "hh:nn";
constexpr const char* LongTimeFormat = "hh:nn:ss";
constexpr char DateSeparator = '/';
constexpr char TimeSeparator = ':';

// Days from 1970-01-01 to a civil date (proleptic Gregorian) and back.
Int64 DaysFromCivil(Int64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Int64 era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<Int64>(doe) - 719468;
}

void CivilFromDays(Int64 z, Int64& y, unsigned& m, unsigned& d) {
  z += 719468;
  const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<Int64>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

// The class library's split of a TDateTime into whole days and milliseconds of the day: the
// value is rounded to the millisecond; the day truncates toward zero and the time of day is
// the magnitude of the fraction (-1.25 is day -1 at 06:00).
void SplitDateTime(TDateTime Value, Int64& Days, Int64& MSecs) {
  // Far outside years 1..9999 (or NaN): keep the arithmetic defined; decoding reports zeros.
  if (!(std::fabs(Value) <= 1e9)) Value = std::isnan(Value) ? 0 : std::copysign(1e9, Value);
  const Int64 Total = static_cast<Int64>(std::nearbyint(static_cast<long double>(Value) * MSecsPerDayI));
  Days = Total / MSecsPerDayI;
  MSecs = (Total < 0 ? -Total : Total) % MSecsPerDayI;
}

TDateTime FromUnixAndMs(Int64 Secs, Int64 MSecs) {
  const Int64 Days = Secs >= 0 ? Secs / 86400 : -((-Secs + 86399) / 86400);
  const Int64 Rest = (Secs - Days * 86400) * 1000 + MSecs;
  const TDateTime D = static_cast<TDateTime>(Days) + UnixDateDelta;
  // A date before 1899-12-30 keeps its time of day as a positive fraction's magnitude.
  return D >= 0 ? D + Rest / MSecsPerDay : D - Rest / MSecsPerDay;
}

}  // namespace

bool IsLeapYear(Word Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

Word DaysInAMonth(Word Year, Word Month) {
  static constexpr Word Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : Days[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
      Day > DaysInAMonth(Year, Month))
    return false;
  Date = static_cast<TDateTime>(DaysFromCivil(Year, Month, Day)) + UnixDateDelta;
  return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime D;
  if (!TryEncodeDate(Year, Month, Day, D)) throw EConvertError("Invalid argument to date encode");
  return D;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime T;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, T))
    throw EConvertError("Invalid argument to time encode");
  return T;
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec,
                         Word MSec) {
  const TDateTime D = EncodeDate(Year, Month, Day);
  const TDateTime T = EncodeTime(Hour, Min, Sec, MSec);
  return D >= 0 ? D + T : D - T;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
  Int64 Days, MSecs;
  SplitDateTime(Date, Days, MSecs);
  Int64 Y;
  unsigned M, D;
  CivilFromDays(Days - static_cast<Int64>(UnixDateDelta), Y, M, D);
  if (Y < 1 || Y > 9999) {
    Year = Month = Day = 0;
    return;
  }
  Year = static_cast<Word>(Y);
  Month = static_cast<Word>(M);
  Day = static_cast<Word>(D);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Int64 Days, MSecs;
  SplitDateTime(Time, Days, MSecs);
  Hour = static_cast<Word>(MSecs / 3600000);
  Min = static_cast<Word>(MSecs / 60000 % 60);
  Sec = static_cast<Word>(MSecs / 1000 % 60);
  MSec = static_cast<Word>(MSecs % 1000);
}

void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min,
                    Word& Sec, Word& MSec) {
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
}

Word DayOfWeek(TDateTime Date) {
  Int64 Days, MSecs;
  SplitDateTime(Date, Days, MSecs);
  // 1899-12-30 was a Saturday (7).
  Int64 W = (Days + 6) % 7;
  if (W < 0) W += 7;
  return static_cast<Word>(W + 1);
}

TDateTime Now() {
  timespec Ts{};
  clock_gettime(CLOCK_REALTIME, &Ts);
  tm Local{};
  localtime_r(&Ts.tv_sec, &Local);
  return FromUnixAndMs(static_cast<Int64>(Ts.tv_sec) + Local.tm_gmtoff, Ts.tv_nsec / 1000000);
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime N = Now();
  return N - std::trunc(N);
}

TDateTime UnixToDateTime(Int64 UnixSecs) { return FromUnixAndMs(UnixSecs, 0); }

Int64 DateTimeToUnix(TDateTime Value) {
  Int64 Days, MSecs;
  SplitDateTime(Value, Days, MSecs);
  const Int64 Signed = Value < 0 ? -MSecs : MSecs;
  const Int64 Ms = (Days - static_cast<Int64>(UnixDateDelta)) * MSecsPerDayI + Signed;
  // Round to the nearest second, halves to even.
  return static_cast<Int64>(std::nearbyint(static_cast<long double>(Ms) / 1000.0L));
}

Integer LocalTimeBiasMinutes(Int64 UnixSecs) {
  const time_t T = static_cast<time_t>(UnixSecs);
  tm Local{};
  if (!localtime_r(&T, &Local)) return StandardTimeBiasMinutes();
  return static_cast<Integer>(-Local.tm_gmtoff / 60);
}

Integer LocalTimeBiasMinutes() { return LocalTimeBiasMinutes(static_cast<Int64>(::time(nullptr))); }

Integer StandardTimeBiasMinutes() {
  tzset();
  return static_cast<Integer>(timezone / 60);
}

TDateTime UnixToLocalDateTime(Int64 UnixSecs) {
  const time_t T = static_cast<time_t>(UnixSecs);
  tm Local{};
  const Int64 Offset = localtime_r(&T, &Local) ? Local.tm_gmtoff : -StandardTimeBiasMinutes() * 60;
  return UnixToDateTime(UnixSecs + Offset);
}

Int64 LocalDateTimeToUnix(TDateTime LocalValue) {
  Word Y, Mo, D, H, Mi, S, Ms;
  DecodeDateTime(LocalValue, Y, Mo, D, H, Mi, S, Ms);
  tm Local{};
  Local.tm_year = Y - 1900;
  Local.tm_mon = Mo - 1;
  Local.tm_mday = D;
  Local.tm_hour = H;
  Local.tm_min = Mi;
  Local.tm_sec = S;
  Local.tm_isdst = -1;
  const time_t T = mktime(&Local);
  return static_cast<Int64>(T) + (Ms >= 500 ? 1 : 0);
}

// ---- Formatting --------------------------------------------------------------------------

namespace {

String Pad(unsigned V, int Width) {
  String S = std::to_string(V);
  while (static_cast<int>(S.size()) < Width) S.insert(S.begin(), '0');
  return S;
}

bool StartsNoCase(const String& Fmt, size_t i, const char* Word) {
  for (size_t k = 0; Word[k]; ++k) {
    if (i + k >= Fmt.size()) return false;
    char C = Fmt[i + k];
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
    if (C != Word[k]) return false;
  }
  return true;
}

char Lower(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

class TDateFormatter {
 public:
  explicit TDateFormatter(TDateTime Value) : FValue(Value) {
    DecodeDateTime(Value, FYear, FMonth, FDay, FHour, FMin, FSec, FMSec);
  }

  void Append(const String& Fmt, int Depth) {
    if (Depth > 2) return;  // nested formats (c, ddddd, t...) cannot recurse further
    size_t i = 0;
    const size_t n = Fmt.size();
    char Prev = 0;  // last specifier letter, for "m" after "h"
    while (i < n) {
      const char C = Fmt[i];
      const char L = Lower(C);
      if (C == '"' || C == '\'') {
        size_t j = i + 1;
        while (j < n && Fmt[j] != C) ++j;
        FOut.append(Fmt, i + 1, j - i - 1);
        i = j < n ? j + 1 : n;
        continue;
      }
      if (L == 'a') {
        const bool PM = FHour >= 12;
        if (StartsNoCase(Fmt, i, "am/pm")) {
          FOut.append(Fmt, PM ? i + 3 : i, 2);
          i += 5;
        } else if (StartsNoCase(Fmt, i, "a/p")) {
          FOut += Fmt[PM ? i + 2 : i];
          i += 3;
        } else if (StartsNoCase(Fmt, i, "ampm")) {
          FOut += PM ? "PM" : "AM";
          i += 4;
        } else {
          FOut += C;
          ++i;
        }
        continue;
      }
      if (L == '/') {
        FOut += DateSeparator;
        ++i;
        continue;
      }
      if (L == ':') {
        FOut += TimeSeparator;
        ++i;
        continue;
      }
      if (L != 'y' && L != 'm' && L != 'd' && L != 'h' && L != 'n' && L != 's' && L != 'z' &&
          L != 'c' && L != 't') {
        FOut += C;
        ++i;
        continue;
      }
      size_t Count = 1;
      while (i + Count < n && Lower(Fmt[i + Count]) == L) ++Count;
      const size_t Next = i + Count;
      switch (L) {
        case 'y':
          FOut += Count <= 2 ? Pad(FYear % 100, 2) : Pad(FYear, 4);
          break;
        case 'm':
          if (Prev == 'h' || NextSpecifierIsSeconds(Fmt, Next)) {
            FOut += Pad(FMin, Count >= 2 ? 2 : 1);
          } else if (Count == 1) {
            FOut += Pad(FMonth, 1);
          } else if (Count == 2) {
            FOut += Pad(FMonth, 2);
          } else if (FMonth >= 1 && FMonth <= 12) {
            FOut += Count == 3 ? ShortMonthNames[FMonth - 1] : LongMonthNames[FMonth - 1];
          }
          break;
        case 'd':
          if (Count <= 2) {
            FOut += Pad(FDay, static_cast<int>(Count));
          } else if (Count <= 4) {
            const Word W = DayOfWeek(FValue);
            FOut += Count == 3 ? ShortDayNames[W - 1] : LongDayNames[W - 1];
          } else if (Count == 5) {
            Append(ShortDateFormat, Depth + 1);
          } else {
            Append(LongDateFormat, Depth + 1);
          }
          break;
        case 'h': {
          unsigned H = FHour;
          if (TwelveHour(Fmt, Next)) {
            H %= 12;
            if (H == 0) H = 12;
          }
          FOut += Pad(H, Count >= 2 ? 2 : 1);
          break;
        }
        case 'n':
          FOut += Pad(FMin, Count >= 2 ? 2 : 1);
          break;
        case 's':
          FOut += Pad(FSec, Count >= 2 ? 2 : 1);
          break;
        case 'z':
          FOut += Pad(FMSec, Count >= 3 ? 3 : 1);
          break;
        case 'c':
          Append(ShortDateFormat, Depth + 1);
          if (FHour || FMin || FSec || FMSec) {
            FOut += ' ';
            Append(LongTimeFormat, Depth + 1);
          }
          break;
        case 't':
          Append(Count == 1 ? ShortTimeFormat : LongTimeFormat, Depth + 1);
          break;
      }
      Prev = L;
      i = Next;
    }
  }

  const String& Out() const { return FOut; }

 private:
  // "mm:ss": m just before a seconds specifier (literals between) means minutes too.
  static bool NextSpecifierIsSeconds(const String& Fmt, size_t i) {
    for (; i < Fmt.size(); ++i) {
      const char L = Lower(Fmt[i]);
      if (L == 's') return true;
      if (std::string("ymdhnzct\"'a").find(L) != std::string::npos) return false;
    }
    return false;
  }

  // An am/pm specifier later in the format makes the hour 12-hour based.
  static bool TwelveHour(const String& Fmt, size_t i) {
    for (; i < Fmt.size(); ++i) {
      if (Fmt[i] == '"' || Fmt[i] == '\'') {
        const char Q = Fmt[i];
        ++i;
        while (i < Fmt.size() && Fmt[i] != Q) ++i;
        continue;
      }
      if (StartsNoCase(Fmt, i, "am/pm") || StartsNoCase(Fmt, i, "a/p") ||
          StartsNoCase(Fmt, i, "ampm"))
        return true;
    }
    return false;
  }

  TDateTime FValue;
  Word FYear, FMonth, FDay, FHour, FMin, FSec, FMSec;
  String FOut;
};

}  // namespace

String FormatDateTime(const String& Fmt, TDateTime Value) {
  TDateFormatter F(Value);
  F.Append(Fmt.empty() ? String("c") : Fmt, 0);
  return F.Out();
}

String DateTimeToStr(TDateTime Value) { return FormatDateTime("c", Value); }
String DateToStr(TDateTime Value) { return FormatDateTime("ddddd", Value); }
String TimeToStr(TDateTime Value) { return FormatDateTime("tt", Value); }

// ---- Parsing -----------------------------------------------------------------------------

namespace {

class TScanner {
 public:
  explicit TScanner(const String& S) : FS(S) {}
  void SkipBlanks() {
    while (FPos < FS.size() && (FS[FPos] == ' ' || FS[FPos] == '\t')) ++FPos;
  }
  bool AtEnd() {
    SkipBlanks();
    return FPos >= FS.size();
  }
  bool Number(unsigned& V, size_t MaxDigits = 4) {
    SkipBlanks();
    size_t k = 0;
    V = 0;
    while (FPos < FS.size() && FS[FPos] >= '0' && FS[FPos] <= '9' && k < MaxDigits) {
      V = V * 10 + static_cast<unsigned>(FS[FPos] - '0');
      ++FPos;
      ++k;
    }
    return k > 0 && !(FPos < FS.size() && FS[FPos] >= '0' && FS[FPos] <= '9');
  }
  bool Char(char C) {
    SkipBlanks();
    if (FPos < FS.size() && FS[FPos] == C) {
      ++FPos;
      return true;
    }
    return false;
  }
  // 0 none, 1 AM, 2 PM.
  int AmPm() {
    SkipBlanks();
    for (const auto& [Word, Kind] : {std::pair{"am", 1}, {"pm", 2}, {"a", 1}, {"p", 2}}) {
      if (StartsNoCase(FS, FPos, Word)) {
        FPos += std::char_traits<char>::length(Word);
        return Kind;
      }
    }
    return 0;
  }
  size_t Pos() const { return FPos; }

 private:
  const String& FS;
  size_t FPos = 0;
};

bool ScanTime(TScanner& Sc, TDateTime& Value) {
  int AP = Sc.AmPm();
  unsigned H = 0, M = 0, S = 0, Ms = 0;
  if (!Sc.Number(H)) return false;
  if (Sc.Char(TimeSeparator)) {
    if (!Sc.Number(M)) return false;
    if (Sc.Char(TimeSeparator)) {
      if (!Sc.Number(S)) return false;
      if (Sc.Char('.')) {
        if (!Sc.Number(Ms, 3)) return false;
      }
    }
  }
  if (AP == 0) AP = Sc.AmPm();
  if (AP != 0) {
    if (H == 0 || H > 12) return false;
    if (AP == 1 && H == 12) H = 0;
    if (AP == 2 && H < 12) H += 12;
  }
  if (H > 0xFFFF || M > 0xFFFF || S > 0xFFFF || Ms > 0xFFFF) return false;
  return TryEncodeTime(static_cast<Word>(H), static_cast<Word>(M), static_cast<Word>(S),
                       static_cast<Word>(Ms), Value);
}

bool ScanDate(TScanner& Sc, TDateTime& Value) {
  unsigned Y, M, D;
  if (!Sc.Number(Y)) return false;
  char Sep = 0;
  if (Sc.Char('-')) Sep = '-';
  else if (Sc.Char('/')) Sep = '/';
  else return false;
  if (!Sc.Number(M, 2) || !Sc.Char(Sep) || !Sc.Number(D, 2)) return false;
  if (Y > 9999) return false;
  return TryEncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D), Value);
}

}  // namespace

bool TryStrToTime(const String& S, TDateTime& Value) {
  TScanner Sc(S);
  TDateTime V;
  if (!ScanTime(Sc, V) || !Sc.AtEnd()) return false;
  Value = V;
  return true;
}

TDateTime StrToTime(const String& S) {
  TDateTime V;
  if (!TryStrToTime(S, V)) throw EConvertError(Format("'%s' is not a valid time", {S}));
  return V;
}

bool TryStrToDate(const String& S, TDateTime& Value) {
  TScanner Sc(S);
  TDateTime V;
  if (!ScanDate(Sc, V) || !Sc.AtEnd()) return false;
  Value = V;
  return true;
}

TDateTime StrToDate(const String& S) {
  TDateTime V;
  if (!TryStrToDate(S, V)) throw EConvertError(Format("'%s' is not a valid date", {S}));
  return V;
}

bool TryStrToDateTime(const String& S, TDateTime& Value) {
  TScanner Sc(S);
  TDateTime D;
  if (!ScanDate(Sc, D)) return false;
  TDateTime T = 0;
  if (!Sc.AtEnd() && !ScanTime(Sc, T)) return false;
  if (!Sc.AtEnd()) return false;
  Value = D >= 0 ? D + T : D - T;
  return true;
}

TDateTime StrToDateTime(const String& S) {
  TDateTime V;
  if (!TryStrToDateTime(S, V))
    throw EConvertError(Format("'%s' is not a valid date and time", {S}));
  return V;
}
