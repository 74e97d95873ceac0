#include "platform/win/SystemImageList.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/rtl/FileUtils.h"
#include "platform/win/Resources.h"
#include "platform/win/Resources_Paint.h"

namespace vantrel::win {

namespace {

using namespace paint;  // NOLINT: painter helpers

constexpr uint32_t kSysKey = Px(255, 0, 255);
constexpr uint32_t kSysInk = Px(0, 0, 0);
constexpr uint32_t kSysPaper = Px(255, 255, 255);
constexpr uint32_t kSysEdge = Px(96, 96, 96);

// A bitmap of the program's resource table drawn centred on S (its key colour left out).
void DrawResourceBitmap(Surface& S, const char* Name) {
  HRSRC R = FindResource(nullptr, Name, RT_BITMAP);
  const auto* Data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, R)));
  if (!Data) return;
  BITMAPINFOHEADER H;
  std::memcpy(&H, Data, sizeof H);
  if (H.biBitCount != 24) return;
  const int W = H.biWidth, Ht = std::abs(H.biHeight);
  const int Row = ((W * 24 + 31) / 32) * 4;
  const int X0 = (S.Width() - W) / 2, Y0 = (S.Height() - Ht) / 2;
  for (int y = 0; y < Ht; ++y) {
    const uint8_t* In = Data + sizeof H + static_cast<size_t>(H.biHeight > 0 ? Ht - 1 - y : y) * Row;
    for (int x = 0; x < W; ++x) {
      const uint32_t P = Px(In[3 * x + 2], In[3 * x + 1], In[3 * x]);
      if (P != kSysKey) Dot(S, X0 + x, Y0 + y, P);
    }
  }
}

// A sheet of paper with a folded corner and a coloured band for its kind.
void DrawPage(Surface& S, uint32_t Band) {
  Fill(S, 3, 1, 13, 15, kSysPaper);
  Frame(S, 2, 0, 14, 16, kSysEdge);
  Line(S, 10, 0, 13, 3, kSysEdge);
  Fill(S, 11, 0, 14, 2, kSysKey);
  Dot(S, 13, 2, kSysKey);
  if (Band != kSysPaper) Fill(S, 4, 6, 12, 12, Band);
}

void PaintSystemIcon(Surface& S, SystemIcon Icon) {
  switch (Icon) {
    case SystemIcon::FolderClosed: DrawResourceBitmap(S, "SP_CLOSEDFOLDER"); break;
    case SystemIcon::FolderOpen: DrawResourceBitmap(S, "SP_OPENFOLDER"); break;
    case SystemIcon::Home:
      Fill(S, 3, 8, 13, 15, Px(230, 200, 150));
      Frame(S, 3, 8, 13, 15, kSysEdge);
      for (int i = 0; i < 7; ++i) Line(S, 8 - i - 1, 1 + i, 8 + i, 1 + i, Px(180, 40, 30));
      Fill(S, 7, 11, 10, 15, Px(120, 70, 20));
      break;
    case SystemIcon::Desktop:
      Fill(S, 1, 2, 15, 11, Px(0, 96, 160));
      Frame(S, 0, 1, 16, 12, kSysInk);
      Fill(S, 6, 12, 10, 14, kSysEdge);
      Fill(S, 3, 14, 13, 15, kSysEdge);
      break;
    case SystemIcon::Computer:
      Fill(S, 2, 1, 14, 10, Px(170, 200, 230));
      Frame(S, 1, 0, 15, 11, kSysInk);
      Fill(S, 0, 12, 16, 16, Px(192, 192, 192));
      Frame(S, 0, 12, 16, 16, kSysInk);
      break;
    case SystemIcon::VolumeFixed: DrawResourceBitmap(S, "SP_HARD"); break;
    case SystemIcon::VolumeRemovable: DrawResourceBitmap(S, "SP_FLOPPY"); break;
    case SystemIcon::VolumeCD: DrawResourceBitmap(S, "SP_CDROM"); break;
    case SystemIcon::VolumeNetwork: DrawResourceBitmap(S, "SP_NETWORK"); break;
    case SystemIcon::VolumeRam: DrawResourceBitmap(S, "SP_RAM"); break;
    case SystemIcon::File: DrawPage(S, kSysPaper); break;
    case SystemIcon::Video:
      DrawPage(S, Px(40, 40, 40));
      for (int y = 7; y < 12; y += 2) Dot(S, 4, y, kSysPaper), Dot(S, 11, y, kSysPaper);
      break;
    case SystemIcon::Audio:
      DrawPage(S, kSysPaper);
      Line(S, 9, 4, 9, 11, kSysInk);
      Line(S, 9, 4, 11, 5, kSysInk);
      Fill(S, 6, 10, 9, 13, kSysInk);
      break;
    case SystemIcon::Picture:
      DrawPage(S, Px(120, 180, 240));
      for (int i = 0; i < 3; ++i) Line(S, 7 - i, 9 + i, 7 + i, 9 + i, Px(40, 140, 40));
      break;
    case SystemIcon::Text:
      DrawPage(S, kSysPaper);
      for (int y = 5; y < 13; y += 2) Line(S, 4, y, 11, y, kSysEdge);
      break;
    case SystemIcon::Archive:
      DrawPage(S, Px(200, 160, 80));
      for (int y = 6; y < 12; y += 2) Dot(S, 8, y, kSysInk);
      break;
    case SystemIcon::Program:
      Fill(S, 1, 3, 15, 14, kSysPaper);
      Frame(S, 0, 2, 16, 15, kSysInk);
      Fill(S, 1, 3, 15, 5, Px(0, 64, 192));
      break;
    case SystemIcon::Count: break;
  }
}

ImageListImage IconImage(SystemIcon Icon, int Size) {
  Surface S(16, 16, false);
  Fill(S, 0, 0, 16, 16, kSysKey);
  PaintSystemIcon(S, Icon);
  ImageListImage I;
  const int Scale = Size / 16;
  I.Pixels.resize(static_cast<size_t>(Size) * Size);
  I.Mask.resize(static_cast<size_t>(Size) * Size);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      const uint32_t P = S.Row(y / Scale)[x / Scale] & 0xFFFFFF;
      const size_t At = static_cast<size_t>(y) * Size + x;
      I.Mask[At] = P == (kSysKey & 0xFFFFFF) ? 1 : 0;
      I.Pixels[At] = I.Mask[At] ? 0 : P;
    }
  return I;
}

HIMAGELIST MakeSystemList(int Size) {
  HIMAGELIST L = ImageList_Create(Size, Size, ILC_COLOR32 | ILC_MASK, static_cast<int>(SystemIcon::Count), 0);
  ImageListContent* C = ImageListContentOf(L);
  if (!C) return L;
  for (int i = 0; i < static_cast<int>(SystemIcon::Count); ++i)
    C->Images.push_back(IconImage(static_cast<SystemIcon>(i), Size));
  return L;
}

struct ExtensionKind {
  const char* Ext;
  SystemIcon Icon;
};

const ExtensionKind kExtensionKinds[] = {
    // Video
    {"mod", SystemIcon::Video}, {"mts", SystemIcon::Video}, {"ts", SystemIcon::Video}, {"m2ts", SystemIcon::Video},
    {"tp", SystemIcon::Video}, {"avi", SystemIcon::Video}, {"mp4", SystemIcon::Video}, {"m4v", SystemIcon::Video},
    {"mpg", SystemIcon::Video}, {"mpeg", SystemIcon::Video}, {"3gp", SystemIcon::Video}, {"3g2", SystemIcon::Video},
    {"wmv", SystemIcon::Video}, {"asf", SystemIcon::Video}, {"rm", SystemIcon::Video}, {"rmvb", SystemIcon::Video},
    {"dat", SystemIcon::Video}, {"mov", SystemIcon::Video}, {"flv", SystemIcon::Video}, {"f4v", SystemIcon::Video},
    {"mkv", SystemIcon::Video}, {"dv", SystemIcon::Video}, {"nut", SystemIcon::Video}, {"264", SystemIcon::Video},
    {"nsv", SystemIcon::Video}, {"vob", SystemIcon::Video}, {"webm", SystemIcon::Video},
    // Audio
    {"aac", SystemIcon::Audio}, {"ac3", SystemIcon::Audio}, {"ape", SystemIcon::Audio}, {"dts", SystemIcon::Audio},
    {"flac", SystemIcon::Audio}, {"mka", SystemIcon::Audio}, {"mpa", SystemIcon::Audio}, {"mp2", SystemIcon::Audio},
    {"mp3", SystemIcon::Audio}, {"m4a", SystemIcon::Audio}, {"mpc", SystemIcon::Audio}, {"ofr", SystemIcon::Audio},
    {"ogg", SystemIcon::Audio}, {"ra", SystemIcon::Audio}, {"tta", SystemIcon::Audio}, {"wav", SystemIcon::Audio},
    {"wma", SystemIcon::Audio},
    // Pictures
    {"png", SystemIcon::Picture}, {"jpg", SystemIcon::Picture}, {"jpeg", SystemIcon::Picture},
    {"bmp", SystemIcon::Picture}, {"gif", SystemIcon::Picture}, {"tif", SystemIcon::Picture},
    {"tiff", SystemIcon::Picture}, {"ico", SystemIcon::Picture},
    // Text
    {"txt", SystemIcon::Text}, {"log", SystemIcon::Text}, {"ini", SystemIcon::Text}, {"srt", SystemIcon::Text},
    {"ass", SystemIcon::Text}, {"ssa", SystemIcon::Text}, {"sub", SystemIcon::Text}, {"xml", SystemIcon::Text},
    // Archives
    {"zip", SystemIcon::Archive}, {"gz", SystemIcon::Archive}, {"tgz", SystemIcon::Archive},
    {"bz2", SystemIcon::Archive}, {"xz", SystemIcon::Archive}, {"7z", SystemIcon::Archive},
    {"rar", SystemIcon::Archive}, {"tar", SystemIcon::Archive},
};

}  // namespace

HIMAGELIST SystemImageList(bool Large) {
  static std::once_flag Once;
  static HIMAGELIST Lists[2] = {};
  std::call_once(Once, [] {
    Lists[0] = MakeSystemList(16);
    Lists[1] = MakeSystemList(32);
  });
  return Lists[Large ? 1 : 0];
}

SystemIcon FileIconOf(const std::string& Name, bool Executable) {
  const std::string Ext = ExtractFileExt(Name);
  if (Ext.size() > 1)
    for (const ExtensionKind& K : kExtensionKinds)
      if (strcasecmp(K.Ext, Ext.c_str() + 1) == 0) return K.Icon;
  return Executable ? SystemIcon::Program : SystemIcon::File;
}

}  // namespace vantrel::win
