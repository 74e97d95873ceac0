#include "platform/win/Volumes.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/rtl/FileUtils.h"

namespace {

using vantrel::win::Volume;

// Mount-table fields escape blanks and backslashes as octal "\ooo".
std::string VolumeUnescape(const std::string& S) {
  std::string R;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == '\\' && i + 3 < S.size() && std::isdigit(static_cast<unsigned char>(S[i + 1])) &&
        std::isdigit(static_cast<unsigned char>(S[i + 2])) && std::isdigit(static_cast<unsigned char>(S[i + 3]))) {
      R += static_cast<char>((S[i + 1] - '0') * 64 + (S[i + 2] - '0') * 8 + (S[i + 3] - '0'));
      i += 3;
    } else {
      R += S[i];
    }
  }
  return R;
}

bool VolumeIsUnder(const std::string& Path, const char* Base) {
  const size_t N = std::strlen(Base);
  return Path.compare(0, N, Base) == 0 && Path.size() > N && Path[N] == '/';
}

bool VolumeIsRemote(const std::string& Fs) {
  static const char* const kRemote[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "fuse.sshfs"};
  return std::any_of(std::begin(kRemote), std::end(kRemote), [&](const char* R) { return Fs == R; });
}

// "/dev/sdb1" -> "sdb", "/dev/nvme0n1p2" -> "nvme0n1", "/dev/mmcblk0p1" -> "mmcblk0".
std::string VolumeDiskOf(const std::string& Device) {
  std::string D = Device.substr(Device.rfind('/') + 1);
  const size_t P = D.rfind('p');
  if ((D.compare(0, 4, "nvme") == 0 || D.compare(0, 6, "mmcblk") == 0) && P != std::string::npos && P > 0 &&
      std::isdigit(static_cast<unsigned char>(D[P - 1])))
    return D.substr(0, P);
  while (!D.empty() && std::isdigit(static_cast<unsigned char>(D.back()))) D.pop_back();
  return D;
}

std::string VolumeLastName(const std::string& MountPoint) {
  return MountPoint.substr(MountPoint.rfind('/') + 1);
}

struct VolumeRegistry {
  std::mutex Lock;
  std::unique_ptr<vantrel::win::VolumeSource> Source = std::make_unique<vantrel::win::MountTableVolumes>();
};

VolumeRegistry& VolumeRegistryOf() {
  static VolumeRegistry R;
  return R;
}

bool FindVolume(LPCSTR RootPath, Volume& Out) {
  if (!RootPath || RootPath[0] != '/') return false;
  std::string P = RootPath;
  while (P.size() > 1 && P.back() == '/') P.pop_back();
  for (Volume& V : vantrel::win::ListVolumes())
    if (V.MountPoint == P) {
      Out = std::move(V);
      return true;
    }
  return false;
}

// File systems that find a name whatever the case it is asked in.
bool VolumeFoldsCase(const std::string& Fs) {
  static const char* const kFolding[] = {"vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk"};
  return std::any_of(std::begin(kFolding), std::end(kFolding), [&](const char* F) { return Fs == F; });
}

void CopyVolumeText(const std::string& S, char* Out, DWORD Size) {
  if (!Out || Size == 0) return;
  const size_t N = std::min<size_t>(S.size(), Size - 1);
  std::memcpy(Out, S.data(), N);
  Out[N] = 0;
}

}  // namespace

namespace vantrel::win {

VolumeProbe SystemVolumeProbe() {
  VolumeProbe P;
  P.IsRemovable = [](const std::string& Device) {
    std::ifstream In("/sys/block/" + VolumeDiskOf(Device) + "/removable");
    int V = 0;
    return static_cast<bool>(In >> V) && V == 1;
  };
  P.LabelOf = [](const std::string& Device) -> std::string {
    char Want[PATH_MAX];
    if (!realpath(Device.c_str(), Want)) return {};
    DIR* D = opendir("/dev/disk/by-label");
    if (!D) return {};
    std::string Label;
    while (dirent* E = readdir(D)) {
      if (E->d_name[0] == '.') continue;
      char Got[PATH_MAX];
      const std::string Link = std::string("/dev/disk/by-label/") + E->d_name;
      if (realpath(Link.c_str(), Got) && std::strcmp(Got, Want) == 0) {
        Label = E->d_name;
        break;
      }
    }
    closedir(D);
    // by-label names escape bytes as "\x20".
    std::string R;
    for (size_t i = 0; i < Label.size(); ++i) {
      if (Label[i] == '\\' && i + 3 < Label.size() && Label[i + 1] == 'x') {
        R += static_cast<char>(std::stoi(Label.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        R += Label[i];
      }
    }
    return R;
  };
  return P;
}

std::vector<Volume> ParseMountTable(const std::string& Table, const VolumeProbe& Probe) {
  std::vector<Volume> Out;
  std::istringstream In(Table);
  std::string Line;
  while (std::getline(In, Line)) {
    std::istringstream F(Line);
    std::string Source, Point, Fs;
    if (!(F >> Source >> Point >> Fs)) continue;
    Source = VolumeUnescape(Source);
    Point = VolumeUnescape(Point);
    if (Point.empty() || Point[0] != '/') continue;
    const bool Block = Source.compare(0, 5, "/dev/") == 0;
    const bool Remote = VolumeIsRemote(Fs);
    const bool UnderMedia = VolumeIsUnder(Point, "/media") || VolumeIsUnder(Point, "/run/media") ||
                            VolumeIsUnder(Point, "/mnt");
    if (Point != "/" && !Block && !Remote && !UnderMedia) continue;
    Volume V;
    V.MountPoint = Point;
    V.FsType = Fs;
    if (Remote) {
      V.Type = DRIVE_REMOTE;
      V.Source = Source;
    } else if (Fs == "iso9660" || Fs == "udf") {
      V.Type = DRIVE_CDROM;
    } else if (Fs == "tmpfs" || Fs == "ramfs") {
      V.Type = DRIVE_RAMDISK;
    } else if (VolumeIsUnder(Point, "/media") || VolumeIsUnder(Point, "/run/media") ||
               (Block && Probe.IsRemovable && Probe.IsRemovable(Source))) {
      V.Type = DRIVE_REMOVABLE;
    }
    if (Block && Probe.LabelOf) V.Label = Probe.LabelOf(Source);
    V.DisplayName = !V.Label.empty() ? V.Label : Point == "/" ? "File System" : VolumeLastName(Point);
    auto Same = std::find_if(Out.begin(), Out.end(), [&](const Volume& O) { return O.MountPoint == Point; });
    if (Same != Out.end()) Out.erase(Same);
    Out.push_back(std::move(V));
  }
  auto Root = std::find_if(Out.begin(), Out.end(), [](const Volume& V) { return V.MountPoint == "/"; });
  if (Root == Out.end()) {
    Volume V;
    V.MountPoint = "/";
    V.DisplayName = "File System";
    Out.insert(Out.begin(), V);
  } else {
    std::rotate(Out.begin(), Root, Root + 1);
  }
  return Out;
}

std::vector<Volume> MountTableVolumes::List() {
  std::ifstream In("/proc/self/mounts");
  std::ostringstream S;
  S << In.rdbuf();
  return ParseMountTable(S.str(), SystemVolumeProbe());
}

std::vector<Volume> ListVolumes() {
  VolumeRegistry& R = VolumeRegistryOf();
  std::lock_guard<std::mutex> G(R.Lock);
  return R.Source->List();
}

std::unique_ptr<VolumeSource> SetVolumeSource(std::unique_ptr<VolumeSource> Source) {
  VolumeRegistry& R = VolumeRegistryOf();
  std::lock_guard<std::mutex> G(R.Lock);
  if (!Source) Source = std::make_unique<MountTableVolumes>();
  std::swap(R.Source, Source);
  return Source;
}

bool VolumeOfPath(const std::string& Path, Volume& Out) {
  bool Found = false;
  for (Volume& V : ListVolumes()) {
    const bool Under = V.MountPoint == "/" || Path == V.MountPoint ||
                       (Path.compare(0, V.MountPoint.size(), V.MountPoint) == 0 && Path.size() > V.MountPoint.size() &&
                        Path[V.MountPoint.size()] == '/');
    if (Under && (!Found || V.MountPoint.size() > Out.MountPoint.size())) {
      Out = std::move(V);
      Found = true;
    }
  }
  return Found;
}

}  // namespace vantrel::win

UINT GetDriveType(LPCSTR RootPath) {
  Volume V;
  return FindVolume(RootPath, V) ? V.Type : DRIVE_NO_ROOT_DIR;
}

BOOL GetVolumeInformation(LPCSTR RootPath, char* VolumeName, DWORD VolumeNameSize, DWORD* SerialNumber,
                          DWORD* MaxComponentLength, DWORD* FileSystemFlags, char* FileSystemName,
                          DWORD FileSystemNameSize) {
  Volume V;
  if (!FindVolume(RootPath, V)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  CopyVolumeText(V.Label, VolumeName, VolumeNameSize);
  if (SerialNumber) *SerialNumber = 0;
  if (MaxComponentLength) *MaxComponentLength = 255;
  if (FileSystemFlags)
    *FileSystemFlags = FILE_CASE_PRESERVED_NAMES | (VolumeFoldsCase(V.FsType) ? 0 : FILE_CASE_SENSITIVE_SEARCH);
  CopyVolumeText(V.FsType, FileSystemName, FileSystemNameSize);
  return TRUE;
}
