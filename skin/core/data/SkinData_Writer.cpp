// Writing a skin: every section of the store into an ini object, skin.ini merged into an
// existing file, and a whole skin folder with its pictures. The writers never change the
// store and send nothing; the same store always gives the same bytes.
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "skin/core/data/SkinData.h"

using vantrel::skin::SkinKeyVisitor;
using vantrel::skin::WriteSectionKeys;

namespace vantrel::skin {

void SaveSkinPicture(TBitmap* Bitmap, TStream* Stream) {
  if (!Bitmap->Empty()) {
    Bitmap->SaveToStream(Stream);
    return;
  }
  auto Placeholder = CreateOwned<TBitmap>();
  Placeholder->SetPixelFormat(pf24bit);
  Placeholder->SetSize(1, 1);
  Placeholder->Canvas()->SetPixels(0, 0, 0xFF00FF);
  Placeholder->SaveToStream(Stream);
}

}  // namespace vantrel::skin

namespace {

// A descriptor list: "count", one entry "IDName:kind" per descriptor, then each
// descriptor's own section.
template <class List, class Descriptor>
void WriteDescriptorList(TCustomIniFile* Ini, const char* Section, const List& Items,
                         String (*KindOf)(const Descriptor&)) {
  Ini->EraseSection(Section);
  Ini->WriteInteger(Section, "count", Items.Count());
  for (Integer i = 0; i < Items.Count(); ++i) {
    Descriptor* D = Items[i];
    Ini->WriteString(Section, IntToStr(i), D->IDName + ":" + KindOf(*D));
    D->SaveToFile(Ini);
  }
}

}  // namespace

void TspSkinData::SaveToCustomIniFile(TCustomIniFile* IniFile) {
  TCustomIniFile* Ini = IniFile;

  Ini->EraseSection("VERSION");
  Ini->WriteInteger("VERSION", "ver", 2);
  WriteSectionKeys(Ini, "VERSION", [this](SkinKeyVisitor& V) { VisitVersionKeys(V); });

  Ini->EraseSection("PICTURES");
  WriteSectionKeys(Ini, "PICTURES", [this](SkinKeyVisitor& V) { VisitPictureNameKeys(V); });
  WriteIniStrings(Ini, "PICTURES", "activepictures", FActivePicturesNames.get());

  Ini->EraseSection("CURSORS");
  Ini->WriteInteger("CURSORS", "startcursorindex", StartCursorIndex);
  WriteIniStrings(Ini, "CURSORS", "cursors", FCursorsNames.get());

  Ini->EraseSection("FORMINFO");
  WriteSectionKeys(Ini, "FORMINFO", [this](SkinKeyVisitor& V) { VisitFormInfoKeys(V); });

  // Each window descriptor erases its own section before writing it.
  PopupWindow->SaveToFile(Ini);
  LayerFrame->SaveToFile(Ini);
  HintWindow->SaveToFile(Ini);

  const char* A = "SKINAREAS";
  Ini->EraseSection(A);
  Ini->WriteInteger(A, "count", AreaList.Count());
  for (Integer i = 0; i < AreaList.Count(); ++i)
    Ini->WriteString(A, IntToStr(i), AreaList[i]->IDName + ":" + RectToStr(AreaList[i]->AreaRect));

  FSkinColors->SaveToFile(Ini);

  WriteDescriptorList(Ini, "SKINOBJECTS", ObjectList, vantrel::skin::SkinObjectKindOf);
  WriteDescriptorList(Ini, "SKINCONTROLS", CtrlList, vantrel::skin::SkinControlKindOf);
}

void TspSkinData::SaveToFile(const String& FileName) {
  // The in-memory ini reads the existing file first, so sections the store does not
  // write keep their place and content.
  TOwned<TMemIniFile> Ini = CreateOwned<TMemIniFile>(FileName);
  SaveToCustomIniFile(Ini.get());
  Ini->UpdateFile();
}

void TspSkinData::CheckPictureNames() const {
  if (FActivePictures.Count() != FActivePicturesNames->Count())
    throw EInvalidOperation(Format("Skin picture list holds %d pictures but %d names",
                                   {FActivePictures.Count(), FActivePicturesNames->Count()}));
}

void TspSkinData::StoreToDisk(const String& APath) {
  CheckPictureNames();  // before anything is written
  TOwned<TMemIniFile> Ini = CreateOwned<TMemIniFile>(APath + "skin.ini");
  SaveToCustomIniFile(Ini.get());
  // Always BMP, also under a JPEG name. An empty frame picture means "none" to the frame,
  // so it gets no file and skin.ini names none; a picture without a name has no file.
  for (const FramePicture& P : FramePictures()) {
    if (P.Bitmap->Empty())
      Ini->WriteString("PICTURES", P.Key, "");
    else if (!P.Name->empty())
      P.Bitmap->SaveToFile(APath + *P.Name);
  }
  Ini->UpdateFile();
  for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
    if (FActivePicturesNames->Get(i).empty()) continue;
    TFileStream File(APath + FActivePicturesNames->Get(i), fmCreate);
    vantrel::skin::SaveSkinPicture(FActivePictures[i], &File);
  }
}
