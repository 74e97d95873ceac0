// Shared by the player tests: the system's SDL 1.2 file to copy, and the SDL driver
// variables every player test sets (dummy video, the disk writer or dummy audio).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantrel::test {

// The system's libSDL-1.2.so.0 (its folder from pkg-config).
inline std::string SystemSDLFile() {
  std::string Dir = "/usr/lib/x86_64-linux-gnu";
  if (FILE* P = popen("pkg-config --variable=libdir sdl 2>/dev/null", "r")) {
    char Buf[512] = {};
    if (fgets(Buf, sizeof Buf, P)) {
      std::string S = Buf;
      while (!S.empty() && (S.back() == '\n' || S.back() == ' ')) S.pop_back();
      if (!S.empty()) Dir = S;
    }
    pclose(P);
  }
  return Dir + "/libSDL-1.2.so.0";
}

// Dummy video; audio written to AAudioFile by SDL's disk writer (dummy when empty).
inline void UseHeadlessSDL(const std::string& AAudioFile = std::string()) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (AAudioFile.empty()) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  } else {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", AAudioFile.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);
  }
}

}  // namespace vantrel::test
