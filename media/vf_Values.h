// The pair of adjustable values of the native filters ("nativeeq", "nativehue"): each
// value is the filter's own or a live value of the application, read once a picture,
// kept in -100..100 (out of range values are clamped, also in a live value, and
// reported through FFmpeg's log with the filter as context).
#pragma once

#include "media/FFUtils.h"

struct AVClass;

namespace vantrel::media::detail {

class TFilterValuePair {
 public:
  // AArgs: "v1:v2" or "v1:v2:id1:id2" (decimal integers; an empty field keeps 0, an id
  // of 0 means none). Raises Exception on a field that is not an integer or an id that
  // names no live value.
  TFilterValuePair(const char* AFilterName, const char* AName1, const char* AName2,
                   const String& AArgs);
  ~TFilterValuePair();
  TFilterValuePair(const TFilterValuePair&) = delete;
  TFilterValuePair& operator=(const TFilterValuePair&) = delete;

  // Reads both values for one picture; true when the picture is to be processed (a
  // value is not 0, and the filter has work to do at all).
  bool Read(Integer& A1, Integer& A2);
  // False when both values were 0 and fixed at set-up: the filter only passes pictures on.
  bool Active() const { return FActive; }

 private:
  Integer ReadOne(TLiveValue& AValue, const char* AName, bool& AClamped);
  // FFmpeg's log context: the first member is the class.
  struct TLogContext {
    const AVClass* Class;
  };
  std::unique_ptr<AVClass> FClass;
  TLogContext FLog;
  const char* FName1;
  const char* FName2;
  TLiveValueRef FValue1;
  TLiveValueRef FValue2;
  Integer FLast1 = 0;
  Integer FLast2 = 0;
  bool FActive = false;
};

}  // namespace vantrel::media::detail
