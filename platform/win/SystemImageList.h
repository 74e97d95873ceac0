// The system image lists: two process-wide image-list handles (16 and 32 pixels) holding
// the icons of shell items at fixed indexes, and the kind of icon a file gets from its
// extension (and, for programs, its mode bits).
#pragma once

#include <string>

#include "platform/win/ImageLists.h"

namespace vantrel::win {

enum class SystemIcon : int {
  FolderClosed = 0,
  FolderOpen,
  Home,
  Desktop,
  Computer,
  VolumeFixed,
  VolumeRemovable,
  VolumeCD,
  VolumeNetwork,
  VolumeRam,
  File,
  Video,
  Audio,
  Picture,
  Text,
  Archive,
  Program,
  Count
};

// The shared list of small (16 x 16) or large (32 x 32) icons; made on first use, never
// destroyed.
HIMAGELIST SystemImageList(bool Large);
// The icon of a file named Name; Executable: any execute bit is set.
SystemIcon FileIconOf(const std::string& Name, bool Executable);

}  // namespace vantrel::win
