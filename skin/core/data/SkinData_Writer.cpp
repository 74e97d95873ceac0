// Writing a skin: every section of the store into an ini object, skin.ini merged into an
// existing file, and a whole skin folder with its pictures. The writers never change the
// store and send nothing; the same store always gives the same bytes.
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "skin/core/data/SkinData.h"

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

void TspSkinColors::SaveToFile(TCustomIniFile* IniFile) {
  const char* S = "SKINCOLORS";
  IniFile->EraseSection(S);
  IniFile->WriteInteger(S, "cbtnface", FcBtnFace);
  IniFile->WriteInteger(S, "cbtntext", FcBtnText);
  IniFile->WriteInteger(S, "cwindow", FcWindow);
  IniFile->WriteInteger(S, "cwindowtext", FcWindowText);
  IniFile->WriteInteger(S, "chighlight", FcHighLight);
  IniFile->WriteInteger(S, "chighlighttext", FcHighLightText);
  IniFile->WriteInteger(S, "cbtnhighlight", FcBtnHighLight);
  IniFile->WriteInteger(S, "cbtnshadow", FcBtnShadow);
  IniFile->WriteInteger(S, "c3dlight", Fc3DLight);
  IniFile->WriteInteger(S, "c3ddkshadow", Fc3DDkShadow);
}

void TspSkinData::SaveToCustomIniFile(TCustomIniFile* IniFile) {
  TCustomIniFile* Ini = IniFile;

  const char* V = "VERSION";
  Ini->EraseSection(V);
  Ini->WriteInteger(V, "ver", 2);
  Ini->WriteString(V, "skinname", SkinName);
  Ini->WriteString(V, "skinauthor", SkinAuthor);
  Ini->WriteString(V, "authoremail", AuthorEmail);
  Ini->WriteString(V, "authorurl", AuthorURL);
  Ini->WriteString(V, "skincomments", SkinComments);

  const char* P = "PICTURES";
  Ini->EraseSection(P);
  Ini->WriteString(P, "picture", FPictureName);
  Ini->WriteString(P, "inactivepicture", FInActivePictureName);
  Ini->WriteString(P, "mask", FMaskName);
  Ini->WriteString(P, "rolluppicture", FRollUpPictureName);
  Ini->WriteString(P, "rollupmask", FRollUpMaskName);
  WriteIniStrings(Ini, P, "activepictures", FActivePicturesNames.get());

  const char* C = "CURSORS";
  Ini->EraseSection(C);
  Ini->WriteInteger(C, "startcursorindex", StartCursorIndex);
  WriteIniStrings(Ini, C, "cursors", FCursorsNames.get());

  const char* F = "FORMINFO";
  Ini->EraseSection(F);
  WriteIniPoint(Ini, F, "lefttoppoint", LTPoint);
  WriteIniPoint(Ini, F, "righttoppoint", RTPoint);
  WriteIniPoint(Ini, F, "leftbottompoint", LBPoint);
  WriteIniPoint(Ini, F, "rightbottompoint", RBPoint);
  WriteIniRect(Ini, F, "clientrect", ClRect);
  Ini->WriteInteger(F, "bgpictureindex", BGPictureIndex);
  Ini->WriteInteger(F, "mdibgpictureindex", MDIBGPictureIndex);
  WriteIniRect(Ini, F, "maskrectarea", MaskRectArea);
  WriteIniBoolean(Ini, F, "leftstretch", LeftStretch);
  WriteIniBoolean(Ini, F, "rightstretch", RightStretch);
  WriteIniBoolean(Ini, F, "topstretch", TopStretch);
  WriteIniBoolean(Ini, F, "bottomstretch", BottomStretch);
  WriteIniBoolean(Ini, F, "stretcheffect", StretchEffect);
  WriteIniStretchType(Ini, F, "stretchtype", StretchType);
  WriteIniBoolean(Ini, F, "mdibgstretcheffect", MDIBGStretchEffect);
  WriteIniStretchType(Ini, F, "mdibgstretchtype", MDIBGStretchType);
  WriteIniRect(Ini, F, "buttonsrect", ButtonsRect);
  WriteIniRect(Ini, F, "captionrect", CaptionRect);
  Ini->WriteInteger(F, "buttonsoffset", ButtonsOffset);
  WriteIniBoolean(Ini, F, "buttonsinleft", CapButtonsInLeft);
  WriteIniPoint(Ini, F, "hittestlefttoppoint", HitTestLTPoint);
  WriteIniPoint(Ini, F, "hittestrighttoppoint", HitTestRTPoint);
  WriteIniPoint(Ini, F, "hittestleftbottompoint", HitTestLBPoint);
  WriteIniPoint(Ini, F, "hittestrightbottompoint", HitTestRBPoint);
  WriteIniPoint(Ini, F, "rollupleftpoint", RollUpLeftPoint);
  WriteIniPoint(Ini, F, "rolluprightpoint", RollUpRightPoint);
  WriteIniRect(Ini, F, "mainmenurect", MainMenuRect);
  WriteIniRect(Ini, F, "iconrect", IconRect);
  WriteIniBoolean(Ini, F, "mainmenupopupup", MainMenuPopupUp);
  Ini->WriteInteger(F, "borderwidth", BorderW);
  Ini->WriteInteger(F, "cursorindex", CursorIndex);
  WriteIniBoolean(Ini, F, "autorenderinginactiveimage", AutoRenderingInActiveImage);
  WriteIniInActiveEffect(Ini, F, "inactiveeffect", InActiveEffect);
  Ini->WriteInteger(F, "formminwidth", FormMinWidth);
  Ini->WriteInteger(F, "formminheight", FormMinHeight);
  WriteIniRect(Ini, F, "sizegriparea", SizeGripArea);
  Ini->WriteString(F, "statusbarname", StatusBarName);
  WriteIniBoolean(Ini, F, "mditabstransparent", MDITabsTransparent);
  WriteIniBoolean(Ini, F, "mainmenubartransparent", MainMenuBarTransparent);

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

  const char* O = "SKINOBJECTS";
  Ini->EraseSection(O);
  Ini->WriteInteger(O, "count", ObjectList.Count());
  for (Integer i = 0; i < ObjectList.Count(); ++i) {
    TspDataSkinObject* D = ObjectList[i];
    Ini->WriteString(O, IntToStr(i), D->IDName + ":" + vantrel::skin::SkinObjectKindOf(*D));
    D->SaveToFile(Ini);
  }

  const char* K = "SKINCONTROLS";
  Ini->EraseSection(K);
  Ini->WriteInteger(K, "count", CtrlList.Count());
  for (Integer i = 0; i < CtrlList.Count(); ++i) {
    TspDataSkinControl* D = CtrlList[i];
    Ini->WriteString(K, IntToStr(i), D->IDName + ":" + vantrel::skin::SkinControlKindOf(*D));
    D->SaveToFile(Ini);
  }
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
  const std::pair<TBitmap*, const String*> Frame[] = {
      {FPicture.get(), &FPictureName},
      {FInActivePicture.get(), &FInActivePictureName},
      {FMask.get(), &FMaskName},
      {FRollUpPicture.get(), &FRollUpPictureName},
      {FRollUpMask.get(), &FRollUpMaskName}};
  const char* Keys[] = {"picture", "inactivepicture", "mask", "rolluppicture", "rollupmask"};
  // Always BMP, also under a JPEG name. An empty frame picture means "none" to the frame,
  // so it gets no file and skin.ini names none; a picture without a name has no file.
  for (size_t i = 0; i < std::size(Frame); ++i) {
    const auto& [Bitmap, Name] = Frame[i];
    if (Bitmap->Empty())
      Ini->WriteString("PICTURES", Keys[i], "");
    else if (!Name->empty())
      Bitmap->SaveToFile(APath + *Name);
  }
  Ini->UpdateFile();
  for (Integer i = 0; i < FActivePicturesNames->Count(); ++i) {
    if (FActivePicturesNames->Get(i).empty()) continue;
    TFileStream File(APath + FActivePicturesNames->Get(i), fmCreate);
    vantrel::skin::SaveSkinPicture(FActivePictures[i], &File);
  }
}
