// Binding of the media libraries' entry points: each library's list lives in its own
// API header as an X-macro; these routines fill the process-wide pointers from a loaded
// library and set them back to nil when it is unloaded.
#pragma once

#include "platform/rtl/Types.h"

// Declares the process-wide pointer of one entry point, typed from the library's own
// header and nil while the library is not loaded. Used inside namespace vantrel::media::ff.
#define VANTREL_FF_POINTER(name) inline decltype(&::name) name = nullptr;

namespace vantrel::media {

// The address of the entry point AName in the library AHandle. When it is missing and not
// AOptional, raises Exception "Load function %s@%s error: %s" (name, library file, the
// system's text); an optional one gives nil.
void* LoadFunction(const TPathFileName& ALibName, void* AHandle, const char* AName,
                   bool AOptional = false);
// The same for a data export: "Load variable %s@%s error: %s".
void* LoadVariable(const TPathFileName& ALibName, void* AHandle, const char* AName,
                   bool AOptional = false);

template <typename F>
void LoadFunction(const TPathFileName& ALibName, void* AHandle, const char* AName, F& AProc,
                  bool AOptional = false) {
  AProc = reinterpret_cast<F>(LoadFunction(ALibName, AHandle, AName, AOptional));
}

// One binding and one clearing routine per library (the loader's table names them).
void FixupAVUtil(const TPathFileName& ALibName, void* AHandle);
void UnfixAVUtil();
void FixupSWResample(const TPathFileName& ALibName, void* AHandle);
void UnfixSWResample();
void FixupSWScale(const TPathFileName& ALibName, void* AHandle);
void UnfixSWScale();
void FixupPostProc(const TPathFileName& ALibName, void* AHandle);
void UnfixPostProc();
void FixupAVCodec(const TPathFileName& ALibName, void* AHandle);
void UnfixAVCodec();
void FixupAVFormat(const TPathFileName& ALibName, void* AHandle);
void UnfixAVFormat();
void FixupAVFilter(const TPathFileName& ALibName, void* AHandle);
void UnfixAVFilter();

}  // namespace vantrel::media
