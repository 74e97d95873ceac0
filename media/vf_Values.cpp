// The value pair of the native filters: argument parsing, live values, clamping and the
// log lines.
#include "media/vf_Values.h"

#include <charconv>

#include "media/AVUtilAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media::detail {

namespace {

constexpr Integer MinValue = -100;
constexpr Integer MaxValue = 100;

String TrimBlanks(const String& S) {
  size_t B = 0, E = S.size();
  while (B < E && (S[B] == ' ' || S[B] == '\t')) ++B;
  while (E > B && (S[E - 1] == ' ' || S[E - 1] == '\t')) --E;
  return S.substr(B, E - B);
}

const char* ItemName(void* ACtx) { return (*static_cast<const AVClass**>(ACtx))->class_name; }

}  // namespace

TFilterValuePair::TFilterValuePair(const char* AFilterName, const char* AName1,
                                   const char* AName2, const String& AArgs)
    : FClass(std::make_unique<AVClass>()), FName1(AName1), FName2(AName2) {
  FClass->class_name = AFilterName;
  FClass->item_name = ItemName;
  FClass->version = LIBAVUTIL_VERSION_INT;
  FClass->category = AV_CLASS_CATEGORY_FILTER;
  FLog.Class = FClass.get();
  FValue1 = std::make_shared<TLiveValue>(0);
  FValue2 = std::make_shared<TLiveValue>(0);

  // Up to three ":" separate fields; the rest of the text is the fourth.
  std::vector<String> Fields;
  String Rest = AArgs;
  while (Fields.size() < 3) {
    const size_t Colon = Rest.find(':');
    if (Colon == String::npos) break;
    Fields.push_back(TrimBlanks(Rest.substr(0, Colon)));
    Rest.erase(0, Colon + 1);
  }
  Fields.push_back(TrimBlanks(Rest));
  auto Number = [&](const String& AField) {
    Integer V = 0;
    const char* End = AField.data() + AField.size();
    const char* Begin = AField.data() + (!AField.empty() && AField[0] == '+' ? 1 : 0);
    const auto R = std::from_chars(Begin, End, V);
    if (AField.empty() || R.ec != std::errc() || R.ptr != End)
      throw Exception(Format("%s: invalid argument \"%s\" in \"%s\" (expected %s:%s[:%s id:%s id])",
                             {AFilterName, AField, AArgs, AName1, AName2, AName1, AName2}));
    return V;
  };
  auto Live = [&](const String& AField) {
    const Integer Id = Number(AField);
    if (Id == 0) return TLiveValueRef();
    TLiveValueRef V = FindLiveValue(Id);
    if (!V) throw Exception(Format("%s: no live value with id %d", {AFilterName, Id}));
    return V;
  };
  if (Fields.size() > 0 && !Fields[0].empty()) FValue1->store(Number(Fields[0]));
  if (Fields.size() > 1 && !Fields[1].empty()) FValue2->store(Number(Fields[1]));
  bool HasLive = false;
  if (Fields.size() > 2 && !Fields[2].empty())
    if (TLiveValueRef V = Live(Fields[2])) FValue1 = std::move(V), HasLive = true;
  if (Fields.size() > 3 && !Fields[3].empty())
    if (TLiveValueRef V = Live(Fields[3])) FValue2 = std::move(V), HasLive = true;

  bool Clamped;
  FLast1 = ReadOne(*FValue1, FName1, Clamped);
  FLast2 = ReadOne(*FValue2, FName2, Clamped);
  ff::av_log(&FLog, AV_LOG_DEBUG, "%s:%d, %s %d\n", FName1, FLast1, FName2, FLast2);
  FActive = FLast1 != 0 || FLast2 != 0 || HasLive;
}

TFilterValuePair::~TFilterValuePair() = default;

Integer TFilterValuePair::ReadOne(TLiveValue& AValue, const char* AName, bool& AClamped) {
  Integer V = AValue.load(std::memory_order_relaxed);
  AClamped = V < MinValue || V > MaxValue;
  if (AClamped) {
    const Integer Clamped = V < MinValue ? MinValue : MaxValue;
    // Only a value nobody changed meanwhile is replaced.
    Integer Expected = V;
    AValue.compare_exchange_strong(Expected, Clamped, std::memory_order_relaxed);
    ff::av_log(&FLog, AV_LOG_ERROR, "Invalid %s value %d, force to %d\n", AName, V, Clamped);
    V = Clamped;
  }
  return V;
}

bool TFilterValuePair::Read(Integer& A1, Integer& A2) {
  // A clamped value counts as seen: the clamp was reported already.
  bool Clamped;
  A1 = ReadOne(*FValue1, FName1, Clamped);
  if (Clamped) FLast1 = A1;
  A2 = ReadOne(*FValue2, FName2, Clamped);
  if (Clamped) FLast2 = A2;
  if (A1 != FLast1 || A2 != FLast2) {
    ff::av_log(&FLog, AV_LOG_DEBUG, "%s:%d, %s %d\n", FName1, A1, FName2, A2);
    FLast1 = A1;
    FLast2 = A2;
  }
  return FActive && (A1 != 0 || A2 != 0);
}

}  // namespace vantrel::media::detail
