// Binding of the entry points listed in the API headers, one Fixup/Unfix pair per library.
#include "media/FFBinding.h"

#include "media/AVCodecAPI.h"
#include "media/AVFilterAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/PostProcAPI.h"
#include "media/SWResampleAPI.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/DynLibs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

void* LoadSymbol(const char* AFormat, const TPathFileName& ALibName, void* AHandle,
                 const char* AName, bool AOptional) {
  void* P = GetDynProc(AHandle, AName);
  if (!P && !AOptional) throw Exception(Format(AFormat, {AName, ALibName, DynLibError()}));
  return P;
}

}  // namespace

void* LoadFunction(const TPathFileName& ALibName, void* AHandle, const char* AName,
                   bool AOptional) {
  return LoadSymbol("Load function %s@%s error: %s", ALibName, AHandle, AName, AOptional);
}

void* LoadVariable(const TPathFileName& ALibName, void* AHandle, const char* AName,
                   bool AOptional) {
  return LoadSymbol("Load variable %s@%s error: %s", ALibName, AHandle, AName, AOptional);
}

#define VANTREL_FF_BIND(name) LoadFunction(ALibName, AHandle, #name, ff::name);
#define VANTREL_FF_CLEAR(name) ff::name = nullptr;
#define VANTREL_FF_LIBRARY(Suffix, LIST)                                  \
  void Fixup##Suffix(const TPathFileName& ALibName, void* AHandle) {      \
    LIST(VANTREL_FF_BIND)                                                 \
  }                                                                       \
  void Unfix##Suffix() { LIST(VANTREL_FF_CLEAR) }

VANTREL_FF_LIBRARY(AVUtil, VANTREL_AVUTIL_FUNCTIONS)
VANTREL_FF_LIBRARY(SWResample, VANTREL_SWRESAMPLE_FUNCTIONS)
VANTREL_FF_LIBRARY(SWScale, VANTREL_SWSCALE_FUNCTIONS)
VANTREL_FF_LIBRARY(PostProc, VANTREL_POSTPROC_FUNCTIONS)
VANTREL_FF_LIBRARY(AVCodec, VANTREL_AVCODEC_FUNCTIONS)
VANTREL_FF_LIBRARY(AVFormat, VANTREL_AVFORMAT_FUNCTIONS)
VANTREL_FF_LIBRARY(AVFilter, VANTREL_AVFILTER_FUNCTIONS)

}  // namespace vantrel::media
