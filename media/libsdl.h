// Run-time binding of one copy of SDL 1.2 for one player. SDL 1.2 keeps one video
// surface, one audio device and one event queue per loaded copy, so every player loads a
// copy of its own: a loader refuses a file that another loader of the process holds
// (compared by device and inode, so a hard link or a symbolic link counts as the same
// file). This is the only header that includes SDL's.
#pragma once

#include <cstdint>

#include <SDL/SDL.h>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SyncObjs.h"

namespace vantrel::media {

// SDL's records under the names the player uses.
using TSDL_Rect = SDL_Rect;
using TSDL_Surface = SDL_Surface;
using TSDL_Overlay = SDL_Overlay;
using TSDL_AudioSpec = SDL_AudioSpec;
using TSDL_Event = SDL_Event;
using TSDL_UserEvent = SDL_UserEvent;
using TSDL_ResizeEvent = SDL_ResizeEvent;
using TSDL_VideoInfo = SDL_VideoInfo;
using TSDL_PixelFormat = SDL_PixelFormat;

// field, exported name, optional
#define VANTREL_SDL_ENTRY_POINTS(X)                      \
  X(SDL_Init, "SDL_Init", false)                         \
  X(SDL_Quit, "SDL_Quit", false)                         \
  X(SDL_putenv, "SDL_putenv", true)                      \
  X(SDL_GetError, "SDL_GetError", false)                 \
  X(SDL_OpenAudio, "SDL_OpenAudio", false)               \
  X(SDL_PauseAudio, "SDL_PauseAudio", false)             \
  X(SDL_CloseAudio, "SDL_CloseAudio", false)             \
  X(SDL_MixAudio, "SDL_MixAudio", false)                 \
  X(SDL_WaitEvent, "SDL_WaitEvent", false)               \
  X(SDL_PushEvent, "SDL_PushEvent", false)               \
  X(SDL_EventState, "SDL_EventState", false)             \
  X(SDL_GetVideoInfo, "SDL_GetVideoInfo", false)         \
  X(SDL_SetVideoMode, "SDL_SetVideoMode", false)         \
  X(SDL_UpdateRect, "SDL_UpdateRect", false)             \
  X(SDL_WM_SetCaption, "SDL_WM_SetCaption", false)       \
  X(SDL_MapRGB, "SDL_MapRGB", false)                     \
  X(SDL_FillRect, "SDL_FillRect", false)                 \
  X(SDL_CreateYUVOverlay, "SDL_CreateYUVOverlay", false) \
  X(SDL_LockYUVOverlay, "SDL_LockYUVOverlay", false)     \
  X(SDL_UnlockYUVOverlay, "SDL_UnlockYUVOverlay", false) \
  X(SDL_DisplayYUVOverlay, "SDL_DisplayYUVOverlay", false) \
  X(SDL_FreeYUVOverlay, "SDL_FreeYUVOverlay", false)     \
  X(SDL_CreateMutex, "SDL_CreateMutex", false)           \
  X(SDL_LockMutex, "SDL_mutexP", false)                  \
  X(SDL_UnlockMutex, "SDL_mutexV", false)                \
  X(SDL_DestroyMutex, "SDL_DestroyMutex", false)         \
  X(SDL_CreateCond, "SDL_CreateCond", false)             \
  X(SDL_DestroyCond, "SDL_DestroyCond", false)           \
  X(SDL_CondSignal, "SDL_CondSignal", false)             \
  X(SDL_CondWait, "SDL_CondWait", false)                 \
  X(SDL_CreateThread, "SDL_CreateThread", false)         \
  X(SDL_WaitThread, "SDL_WaitThread", false)             \
  X(SDL_AudioDriverName, "SDL_AudioDriverName", false)   \
  X(SDL_VideoDriverName, "SDL_VideoDriverName", false)

// The types of the entry points. SDL_LockMutex and SDL_UnlockMutex are macros of SDL's
// header: their exports are SDL_mutexP and SDL_mutexV.
namespace sdlfn {
using SDL_Init = decltype(&::SDL_Init);
using SDL_Quit = decltype(&::SDL_Quit);
using SDL_putenv = decltype(&::SDL_putenv);
using SDL_GetError = decltype(&::SDL_GetError);
using SDL_OpenAudio = decltype(&::SDL_OpenAudio);
using SDL_PauseAudio = decltype(&::SDL_PauseAudio);
using SDL_CloseAudio = decltype(&::SDL_CloseAudio);
using SDL_MixAudio = decltype(&::SDL_MixAudio);
using SDL_WaitEvent = decltype(&::SDL_WaitEvent);
using SDL_PushEvent = decltype(&::SDL_PushEvent);
using SDL_EventState = decltype(&::SDL_EventState);
using SDL_GetVideoInfo = decltype(&::SDL_GetVideoInfo);
using SDL_SetVideoMode = decltype(&::SDL_SetVideoMode);
using SDL_UpdateRect = decltype(&::SDL_UpdateRect);
using SDL_WM_SetCaption = decltype(&::SDL_WM_SetCaption);
using SDL_MapRGB = decltype(&::SDL_MapRGB);
using SDL_FillRect = decltype(&::SDL_FillRect);
using SDL_CreateYUVOverlay = decltype(&::SDL_CreateYUVOverlay);
using SDL_LockYUVOverlay = decltype(&::SDL_LockYUVOverlay);
using SDL_UnlockYUVOverlay = decltype(&::SDL_UnlockYUVOverlay);
using SDL_DisplayYUVOverlay = decltype(&::SDL_DisplayYUVOverlay);
using SDL_FreeYUVOverlay = decltype(&::SDL_FreeYUVOverlay);
using SDL_CreateMutex = decltype(&::SDL_CreateMutex);
using SDL_LockMutex = decltype(&::SDL_mutexP);
using SDL_UnlockMutex = decltype(&::SDL_mutexV);
using SDL_DestroyMutex = decltype(&::SDL_DestroyMutex);
using SDL_CreateCond = decltype(&::SDL_CreateCond);
using SDL_DestroyCond = decltype(&::SDL_DestroyCond);
using SDL_CondSignal = decltype(&::SDL_CondSignal);
using SDL_CondWait = decltype(&::SDL_CondWait);
using SDL_CreateThread = decltype(&::SDL_CreateThread);
using SDL_WaitThread = decltype(&::SDL_WaitThread);
using SDL_AudioDriverName = decltype(&::SDL_AudioDriverName);
using SDL_VideoDriverName = decltype(&::SDL_VideoDriverName);
}  // namespace sdlfn

class TSDLLoader : public TObject {
  VANTREL_CLASS(TSDLLoader)

  TSDLLoader() = default;
  ~TSDLLoader() override;

  // Loads APath + AFile (APath gets a trailing '/'): from that folder when the file is
  // there, else by plain name. False with the reason in LastErrMsg; a failed load leaves
  // the loader empty, also when it held another file before.
  bool Load(const TPathFileName& APath, const TPathFileName& AFile);
  bool Loaded() const { return FHandle != nullptr && FFixuped; }
  void Unload();

  const TPathFileName& LibFile() const { return FLibFile; }
  const String& LastErrMsg() const { return FLastErrMsg; }

#define VANTREL_SDL_FIELD(field, name, optional) sdlfn::field field = nullptr;
  VANTREL_SDL_ENTRY_POINTS(VANTREL_SDL_FIELD)
#undef VANTREL_SDL_FIELD

 private:
  // The caller holds SDLLoaderLock.
  void ReleaseLibrary();
  void BindEntryPoints(const TPathFileName& ALibName);
  void ClearEntryPoints();

  TPathFileName FLibFile;
  void* FHandle = nullptr;
  bool FFixuped = false;
  String FLastErrMsg;
  // The loaded file's identity in the process-wide list.
  uint64_t FDevice = 0;
  uint64_t FInode = 0;
};

// Guards the process-wide list of loaded copies; players also hold it around their SDL
// environment and start, since the variables SDL reads are process-wide.
TCriticalSection& SDLLoaderLock();

// Number of SDL copies loaded in the process (for tests).
Integer LoadedSDLFileCount();

}  // namespace vantrel::media
