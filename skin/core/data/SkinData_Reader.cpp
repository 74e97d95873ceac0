// Reading a skin: the test for a skin description, the load with its three skin-change
// messages, and the readers of the store's own sections. A skin folder supplies the
// pictures and cursors through FolderFiles; other skin sources bring their own.
#include <algorithm>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Cursor.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/SkinIniFile.h"

using vantrel::skin::ReadSectionKeys;
using vantrel::skin::SkinFileSource;
using vantrel::skin::SkinIniFile;
using vantrel::skin::SkinKeyVisitor;

namespace {

// Pictures and cursors of a skin folder; names are relative to it.
class FolderFiles final : public SkinFileSource {
 public:
  explicit FolderFiles(String Folder) : FFolder(std::move(Folder)) {}

  void LoadPicture(TBitmap* Bitmap, const String& Name) override {
    LoadSkinPictureFile(Bitmap, FFolder + Name);
  }
  HCURSOR LoadCursorFile(const String& Name) override {
    const String Path = FFolder + Name;
    // A cursor file that does not load leaves the default cursor, but an entry naming a
    // folder is a broken skin: opening it as a file refuses it with the file error.
    if (!Name.empty() && DirectoryExists(Path)) TFileStream Refused(Path, fmOpenRead);
    return LoadCursorFromFileW(Path.c_str());
  }

 private:
  String FFolder;
};

// The number of numbered entries ("0", "1", ...) of a descriptor list worth reading: its
// "count", but no further than the last entry present. An absent entry builds nothing, so
// this only spares a huge count from a walk through millions of missing keys.
Integer EntryCount(TCustomIniFile* Ini, const String& Section) {
  const Integer Count = Ini->ReadInteger(Section, "count", 0);
  TStringList Keys;
  Ini->ReadSection(Section, Keys);
  if (Count <= Keys.Count()) return Count;
  Integer Last = -1;
  for (Integer i = 0; i < Keys.Count(); ++i) {
    Integer Index;
    const String K = Keys.Get(i);
    // Only the exact decimal form names an entry ("07" is not entry 7).
    if (TryStrToInt(K, Index) && Index >= 0 && Index < Count && IntToStr(Index) == K)
      Last = std::max(Last, Index);
  }
  return Last + 1;
}

// An entry "IDName:kind", split at its first ":"; no ":" gives two empty parts.
void SplitEntry(const String& Entry, String& Name, String& Rest) {
  const size_t Colon = Entry.find(':');
  if (Colon == String::npos) {
    Name.clear();
    Rest.clear();
    return;
  }
  Name = Entry.substr(0, Colon);
  Rest = Entry.substr(Colon + 1);
}

// The descriptors of a list section, each built by its kind keyword and read from its own
// section; entries of an unknown kind build nothing.
template <class List, class Descriptor>
void ReadDescriptorList(TCustomIniFile* Ini, const char* Section, List& Items,
                        TOwned<Descriptor> (*Create)(const String& Kind, const String& AIDName)) {
  String Name, Kind;
  const Integer Count = EntryCount(Ini, Section);
  for (Integer i = 0; i < Count; ++i) {
    SplitEntry(Ini->ReadString(Section, IntToStr(i), ""), Name, Kind);
    if (TOwned<Descriptor> D = Create(Kind, Name)) Items[Items.Add(std::move(D))]->LoadFromFile(Ini);
  }
}

bool IsEmptyRect(const TRect& R) {
  return static_cast<Int64>(R.Right) - R.Left <= 0 || static_cast<Int64>(R.Bottom) - R.Top <= 0;
}

// A hit-test point with a zero coordinate takes its corner point.
void DefaultHitTestPoint(TPoint& HitTest, const TPoint& Corner) {
  if (HitTest.X == 0 || HitTest.Y == 0) HitTest = Corner;
}

}  // namespace

// ---- Skin descriptions --------------------------------------------------------------------

bool IsSkinIniFile(TCustomIniFile* IniFile) {
  for (const char* Section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
    if (!IniFile->SectionExists(Section)) return false;
  return true;
}

// ---- The load -----------------------------------------------------------------------------

void TspSkinData::LoadFromFile(const String& FileName) {
  // A missing or unreadable file reads as empty, so it is no skin.
  TOwned<SkinIniFile> Ini = CreateOwned<SkinIniFile>(FileName);
  if (!IsSkinIniFile(Ini.get())) return;
  FolderFiles Files(ExtractFilePath(FileName));
  LoadSkin(Ini.get(), Files);
}

void TspSkinData::LoadSkin(TCustomIniFile* IniFile, SkinFileSource& Files) {
  RunSkinChange([&] {
    ReadSkinSections(IniFile, Files);
    return true;
  });
}

void TspSkinData::RunSkinChange(const std::function<bool()>& Load) {
  Empty = true;
  ChangeSkinDataProcess = true;
  SendSkinDataMessage(WM_SKIN_BEFORE_CHANGE);
  try {
    ClearAll();
    if (Load()) {
      Empty = false;
      if (OnLoadData) OnLoadData(this);
    }
  } catch (...) {
    // The forms stopped painting at WM_SKIN_BEFORE_CHANGE: end the change with an empty
    // store, so that they paint again in their unskinned look and no lookup finds a
    // descriptor of the half-read skin.
    ClearAll();
    EndSkinChange();
    throw;
  }
  EndSkinChange();
}

void TspSkinData::EndSkinChange() {
  try {
    SendSkinDataMessage(WM_SKIN_CHANGED);
  } catch (...) {
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_SKIN_AFTER_CHANGE);
    throw;
  }
  ChangeSkinDataProcess = false;
  SendSkinDataMessage(WM_SKIN_AFTER_CHANGE);
}

void TspSkinData::ReadSkinSections(TCustomIniFile* IniFile, SkinFileSource& Files) {
  ReadVersionAndPictureNames(IniFile);
  ReadPictures(Files);
  ReadCursors(IniFile, Files);
  ReadFrameAndDescriptors(IniFile);
}

void TspSkinData::ReadVersionAndPictureNames(TCustomIniFile* IniFile) {
  ReadSectionKeys(IniFile, "VERSION", [this](SkinKeyVisitor& V) { VisitVersionKeys(V); });
  ReadSectionKeys(IniFile, "PICTURES", [this](SkinKeyVisitor& V) { VisitPictureNameKeys(V); });
  ReadIniStrings(IniFile, "PICTURES", "activepictures", FActivePicturesNames.get());
}

void TspSkinData::ReadFrameAndDescriptors(TCustomIniFile* IniFile) {
  ReadFormInfo(IniFile);
  PopupWindow->LoadFromFile(IniFile);
  LayerFrame->LoadFromFile(IniFile);
  HintWindow->LoadFromFile(IniFile);
  FSkinColors->LoadFromFile(IniFile);
  ReadAreas(IniFile);
  ReadDescriptors(IniFile);
}

void TspSkinData::ReadPictures(SkinFileSource& Files) {
  for (const FramePicture& P : FramePictures()) {
    if (P.Name->empty())
      P.Bitmap->SetSize(0, 0);
    else
      Files.LoadPicture(P.Bitmap, *P.Name);
  }
  for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
    // The bitmap joins the list before it is read, so names and bitmaps stay paired when
    // a read fails.
    TBitmap* Bitmap = FActivePictures[FActivePictures.Add(CreateOwned<TBitmap>())];
    Files.LoadPicture(Bitmap, FActivePicturesNames->Get(i));
  }
}

void TspSkinData::ReadCursors(TCustomIniFile* IniFile, SkinFileSource& Files) {
  StartCursorIndex = std::max(IniFile->ReadInteger("CURSORS", "startcursorindex", 1), 1);
  ReadIniStrings(IniFile, "CURSORS", "cursors", FCursorsNames.get());
  if (BuildMode) return;
  for (Integer i = 0; i < FCursorsNames->Count(); ++i) {
    Integer Slot;
    if (__builtin_add_overflow(StartCursorIndex, i, &Slot)) break;  // no slot that far
    vantrel::skin::InstallScreenCursor(Slot, Files.LoadCursorFile(FCursorsNames->Get(i)));
  }
}

void TspSkinData::ReadFormInfo(TCustomIniFile* IniFile) {
  ReadSectionKeys(IniFile, "FORMINFO", [this](SkinKeyVisitor& V) { VisitFormInfoKeys(V); });

  // A masked frame: the mask covers at least the client area, and the hit-test corners
  // the skin leaves open are the frame's corners.
  if (!FMaskName.empty()) {
    if (IsEmptyRect(MaskRectArea)) {
      MaskRectArea = ClRect;
    } else {
      MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
      MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
      MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
      MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
    }
    DefaultHitTestPoint(HitTestLTPoint, LTPoint);
    DefaultHitTestPoint(HitTestRTPoint, RTPoint);
    DefaultHitTestPoint(HitTestLBPoint, LBPoint);
    DefaultHitTestPoint(HitTestRBPoint, RBPoint);
  }
  // The corner points of a real 9-part frame lie within the client rectangle's bounds.
  if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
    LTPoint.X = std::max(LTPoint.X, ClRect.Left);
    LBPoint.X = std::max(LBPoint.X, ClRect.Left);
    LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
    RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
    RTPoint.X = std::min(RTPoint.X, ClRect.Right);
    RBPoint.X = std::min(RBPoint.X, ClRect.Right);
    LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
    RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
  }

}

void TspSkinData::ReadAreas(TCustomIniFile* IniFile) {
  // An entry without a rectangle fails the load, so the walk ends at the first missing
  // entry at the latest.
  const Integer Count = IniFile->ReadInteger("SKINAREAS", "count", 0);
  for (Integer i = 0; i < Count; ++i) {
    const String Entry = IniFile->ReadString("SKINAREAS", IntToStr(i), "");
    const size_t Colon = Entry.find(':');
    // Without ":" the whole entry is the rectangle and the name is empty.
    const String Name = Colon == String::npos ? String() : Entry.substr(0, Colon);
    const String RectText = Colon == String::npos ? Entry : Entry.substr(Colon + 1);
    TRect R;
    StrToRect(RectText, R);
    AddSkinArea(Name, R);
  }
}

void TspSkinData::ReadDescriptors(TCustomIniFile* IniFile) {
  ReadDescriptorList(IniFile, "SKINOBJECTS", ObjectList, vantrel::skin::CreateSkinObject);
  ReadDescriptorList(IniFile, "SKINCONTROLS", CtrlList, vantrel::skin::CreateSkinControl);
}
