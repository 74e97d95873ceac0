// Small helpers shared by the transcoder's input and output set-up: an owned option
// dictionary and a scope guard. Only media/*.cpp include this (it sees FFmpeg's headers).
#pragma once

#include <cstdint>

#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"

namespace vantrel::media::detail {

// Owns an AVDictionary built for one open.
struct TOptionDict {
  AVDictionary* D = nullptr;
  TOptionDict() = default;
  TOptionDict(const TOptionDict&) = delete;
  TOptionDict& operator=(const TOptionDict&) = delete;
  ~TOptionDict() {
    if (D && ff::av_dict_free) ff::av_dict_free(&D);
  }
  void Set(const String& AName, const String& AValue) {
    ff::av_dict_set(&D, AName.c_str(), AValue.c_str(), 0);
  }
  bool Has(const String& AName) const { return ff::av_dict_get(D, AName.c_str(), nullptr, 0) != nullptr; }
  // The entries in their order.
  TOptionList List() const {
    TOptionList L;
    const AVDictionaryEntry* E = nullptr;
    while ((E = ff::av_dict_get(D, "", E, AV_DICT_IGNORE_SUFFIX))) L.emplace_back(E->key, E->value);
    return L;
  }
};

// Runs its action when the scope is left.
template <class F>
struct TScopeExit {
  F Action;
  ~TScopeExit() { Action(); }
};
template <class F>
TScopeExit(F) -> TScopeExit<F>;

}  // namespace vantrel::media::detail
