// Small helpers shared by the transcoder's input and output set-up: an owned option
// dictionary and a scope guard. Only media/*.cpp include this (it sees FFmpeg's headers).
#pragma once

#include <cstdint>

#include "media/AVCodecAPI.h"
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

// What a decoded stream lacks before a scaler or resampler can be made for it ("" when
// nothing): its size, sample rate or channel count, and with AFormats its picture or
// sample format. A damaged or cut file may leave them unknown after opening.
inline String MissingDecodeFact(const AVCodecParameters* APar, bool AFormats) {
  if (APar->codec_type == AVMEDIA_TYPE_VIDEO) {
    if (AFormats && APar->format < 0) return "pixel format";
    if (APar->width <= 0 || APar->height <= 0) return "frame size";
  } else if (APar->codec_type == AVMEDIA_TYPE_AUDIO) {
    if (AFormats && APar->format < 0) return "sample format";
    if (APar->sample_rate <= 0) return "sample rate";
    if (APar->ch_layout.nb_channels <= 0) return "channel count";
  }
  return String();
}

// Runs its action when the scope is left.
template <class F>
struct TScopeExit {
  F Action;
  ~TScopeExit() { Action(); }
};
template <class F>
TScopeExit(F) -> TScopeExit<F>;

}  // namespace vantrel::media::detail
