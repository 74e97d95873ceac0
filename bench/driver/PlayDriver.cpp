// A small program on the player component, for timing playback against the reference
// command-line player: plays one file to its end with no host window (SDL's drivers as
// the environment says) and exits.
//
//   vantrel_play <file>
//
// Exit status 0 when the file played to its end, 1 with the error text on stderr.
#include <cstdio>

#include "media/FFPlay.h"
#include "platform/rtl/SyncObjs.h"

using namespace vantrel::media;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s file\n", argv[0]);
    return 2;
  }
  auto Player = CreateOwned<TDODodeve>(nullptr);
  if (!Player->LoadAVLib("", true)) {
    std::fprintf(stderr, "%s\n", Player->LastErrMsg().c_str());
    return 1;
  }
  Player->SetTriggerEventInMainThread(false);
  TEvent Ended(true, false);
  Player->OnState = [&](TObject*, TPlayState AState) {
    if (AState == psEnd || AState == psStop) Ended.SetEvent();
  };
  if (!Player->Open(argv[1], 0, false)) {
    std::fprintf(stderr, "%s\n", Player->LastErrMsg().c_str());
    return 1;
  }
  while (Ended.WaitFor(100) != wrSignaled) CheckSynchronize(0);
  Player->Stop(true);
  return 0;
}
