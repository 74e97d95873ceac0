#include "media/libsdl.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "media/FFBinding.h"
#include "media/FFLoad.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

struct TSdlCopyId {
  uint64_t Device;
  uint64_t Inode;
  bool operator==(const TSdlCopyId&) const = default;
};

// The copies some loader of the process holds.
std::vector<TSdlCopyId>& SdlLoadedCopies() {
  static std::vector<TSdlCopyId> List;
  return List;
}

bool SdlFileId(const String& AFileName, TSdlCopyId& AId) {
  struct stat St {};
  if (stat(AFileName.c_str(), &St) != 0) return false;
  AId = {static_cast<uint64_t>(St.st_dev), static_cast<uint64_t>(St.st_ino)};
  return true;
}

// The file the dynamic loader actually mapped for AHandle.
bool SdlHandleId(void* AHandle, TSdlCopyId& AId) {
  link_map* Map = nullptr;
  if (dlinfo(AHandle, RTLD_DI_LINKMAP, &Map) != 0 || !Map || !Map->l_name) return false;
  return SdlFileId(Map->l_name, AId);
}

bool SdlCopyListed(const TSdlCopyId& AId) {
  const auto& L = SdlLoadedCopies();
  return std::find(L.begin(), L.end(), AId) != L.end();
}

}  // namespace

TCriticalSection& SDLLoaderLock() {
  static TCriticalSection Lock;
  return Lock;
}

Integer LoadedSDLFileCount() {
  std::lock_guard<TCriticalSection> G(SDLLoaderLock());
  return static_cast<Integer>(SdlLoadedCopies().size());
}

TSDLLoader::~TSDLLoader() { Unload(); }

bool TSDLLoader::Load(const TPathFileName& APath, const TPathFileName& AFile) {
  TPathFileName Dir = APath;
  if (!Dir.empty() && Dir.back() != '/') Dir += '/';
  const TPathFileName FullPath = Dir + AFile;
  if (Loaded() && FullPath == FLibFile) return true;

  std::lock_guard<TCriticalSection> G(SDLLoaderLock());
  const String Refusal = Format("%s alreay loaded in another instance.", {FullPath});
  TSdlCopyId Wanted{};
  if (SdlFileId(FullPath, Wanted) && SdlCopyListed(Wanted)) {
    FLastErrMsg = Refusal;
    return false;
  }
  ReleaseLibrary();

  String Error;
  FHandle = LoadLibraryFromDir(Dir, AFile, Error);
  if (!FHandle) {
    FLastErrMsg = Format("Load library %s error: %s", {FullPath, Error});
    return false;
  }
  // A fallback to the system's file, or another name of a listed file: dlopen hands
  // out the instance that is already mapped.
  TSdlCopyId Got{};
  if (!SdlHandleId(FHandle, Got) || SdlCopyListed(Got)) {
    FreeDynLibrary(FHandle);
    FHandle = nullptr;
    FLastErrMsg = Refusal;
    return false;
  }
  try {
    BindEntryPoints(FullPath);
    FFixuped = true;
  } catch (const std::exception& E) {
    FLastErrMsg = E.what();
    FFixuped = false;
  }
  if (FFixuped) {
    FLibFile = FullPath;
    FDevice = Got.Device;
    FInode = Got.Inode;
    SdlLoadedCopies().push_back(Got);
  } else {
    ReleaseLibrary();
  }
  return FFixuped;
}

void TSDLLoader::Unload() {
  std::lock_guard<TCriticalSection> G(SDLLoaderLock());
  ReleaseLibrary();
}

void TSDLLoader::ReleaseLibrary() {
  ClearEntryPoints();
  FFixuped = false;
  if (FHandle) {
    FreeDynLibrary(FHandle);
    FHandle = nullptr;
  }
  if (!FLibFile.empty()) {
    auto& L = SdlLoadedCopies();
    auto It = std::find(L.begin(), L.end(), TSdlCopyId{FDevice, FInode});
    if (It != L.end()) L.erase(It);
    FLibFile.clear();
    FDevice = FInode = 0;
  }
}

void TSDLLoader::BindEntryPoints(const TPathFileName& ALibName) {
#define VANTREL_SDL_BIND(field, name, optional) LoadFunction(ALibName, FHandle, name, field, optional);
  VANTREL_SDL_ENTRY_POINTS(VANTREL_SDL_BIND)
#undef VANTREL_SDL_BIND
}

void TSDLLoader::ClearEntryPoints() {
#define VANTREL_SDL_CLEAR(field, name, optional) field = nullptr;
  VANTREL_SDL_ENTRY_POINTS(VANTREL_SDL_CLEAR)
#undef VANTREL_SDL_CLEAR
}

}  // namespace vantrel::media
