// The volumes the shell shows under Computer: "/" and every mounted block-device or network
// file system, plus other mounts below /media, /run/media or /mnt, read from the mount
// table through a replaceable source (tests put a fixed table in place). Also the drive
// calls over a volume's mount point.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;

// File-system flags of GetVolumeInformation.
constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x00000001;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x00000002;

// RootPath: a volume's mount point (a trailing '/' is allowed). DRIVE_NO_ROOT_DIR for any
// other path.
UINT GetDriveType(LPCSTR RootPath);
inline UINT GetDriveTypeA(LPCSTR R) { return GetDriveType(R); }
inline UINT GetDriveTypeW(LPCSTR R) { return GetDriveType(R); }
// The label (may be empty), a serial number of 0, the longest name (255), the case flags
// (names keep their case everywhere; they are told apart by case except on vfat, exfat and
// ntfs), and the file-system type of a volume's mount point. FALSE with ERROR_PATH_NOT_FOUND
// otherwise.
BOOL GetVolumeInformation(LPCSTR RootPath, char* VolumeName, DWORD VolumeNameSize, DWORD* SerialNumber,
                          DWORD* MaxComponentLength, DWORD* FileSystemFlags, char* FileSystemName,
                          DWORD FileSystemNameSize);

namespace vantrel::win {

struct Volume {
  std::string MountPoint;   // absolute, no trailing '/' except "/" itself
  std::string Label;        // empty when the file system has none
  std::string DisplayName;  // the label, else the mount point's name ("File System" for "/")
  std::string FsType;
  std::string Source;       // the remote source of a network volume, else empty
  UINT Type = DRIVE_FIXED;  // DRIVE_*
};

// What the table alone does not tell: whether a device is removable and its label.
struct VolumeProbe {
  std::function<bool(const std::string& Device)> IsRemovable;
  std::function<std::string(const std::string& Device)> LabelOf;
};
// Reads /sys/block/<disk>/removable and /dev/disk/by-label.
VolumeProbe SystemVolumeProbe();

// The volumes of a mount table in /proc/self/mounts form, "/" first, then in table order
// (a later mount on one point replaces the earlier).
std::vector<Volume> ParseMountTable(const std::string& Table, const VolumeProbe& Probe);

class VolumeSource {
 public:
  virtual ~VolumeSource() = default;
  virtual std::vector<Volume> List() = 0;
};

// /proc/self/mounts, read on every call.
class MountTableVolumes final : public VolumeSource {
 public:
  std::vector<Volume> List() override;
};

// A fixed list.
class FixedVolumes final : public VolumeSource {
 public:
  explicit FixedVolumes(std::vector<Volume> V) : FVolumes(std::move(V)) {}
  std::vector<Volume> List() override { return FVolumes; }

 private:
  std::vector<Volume> FVolumes;
};

std::vector<Volume> ListVolumes();
// Returns the source it replaces (nullptr puts the mount table back).
std::unique_ptr<VolumeSource> SetVolumeSource(std::unique_ptr<VolumeSource> Source);
// The volume whose mount point is the longest prefix of the absolute Path; false when
// there is none (no "/" in the list).
bool VolumeOfPath(const std::string& Path, Volume& Out);

}  // namespace vantrel::win
