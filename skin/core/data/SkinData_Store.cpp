// The skin data store: construction, lookups by name, clearing, the picture list, font
// rewriting, the settings that tell the forms, and the broadcast of skin messages.
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowManager.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/spCompressedSkin.h"

namespace vantrel::skin {

void RaiseListIndexError(Integer Index) {
  throw EListError(Format("List index out of bounds (%d)", {Index}));
}

}  // namespace vantrel::skin

namespace {

template <class List>
Integer IndexOfName(const List& Items, const String& AIDName) {
  for (Integer i = 0; i < Items.Count(); ++i)
    if (Items[i]->IDName == AIDName) return i;
  return -1;
}

// Font name and height of descriptor D when it is of class T (or derives from it).
template <class T, class D>
bool ChangeFontOf(D* Descriptor, const String& Name, Integer Correction) {
  auto* Item = dynamic_cast<T*>(Descriptor);
  if (!Item) return false;
  Item->FontName = Name;
  Item->FontHeight += Correction;
  return true;
}

// The file name without its folder: the text after the last path separator or drive colon.
String PictureFileName(const String& FileName) {
  const size_t Cut = FileName.find_last_of("/\\:");
  return Cut == String::npos ? FileName : FileName.substr(Cut + 1);
}

}  // namespace

// ---- TspSkinColors ------------------------------------------------------------------------

void TspSkinColors::SetColorsToDefault() {
  FcBtnFace = clBtnFace;
  FcBtnText = clBtnText;
  FcWindow = clWindow;
  FcWindowText = clWindowText;
  FcHighLight = clHighlight;
  FcHighLightText = clHighlightText;
  FcBtnHighLight = clBtnHighlight;
  FcBtnShadow = clBtnShadow;
  Fc3DLight = cl3DLight;
  Fc3DDkShadow = cl3DDkShadow;
}

// ---- TspSkinData --------------------------------------------------------------------------

TspSkinData::TspSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      PopupWindow(CreateOwned<TspDataSkinPopupWindow>()),
      LayerFrame(CreateOwned<TspDataSkinLayerFrame>()),
      HintWindow(CreateOwned<TspDataSkinHintWindow>()),
      FPicture(CreateOwned<TBitmap>()),
      FInActivePicture(CreateOwned<TBitmap>()),
      FMask(CreateOwned<TBitmap>()),
      FRollUpPicture(CreateOwned<TBitmap>()),
      FRollUpMask(CreateOwned<TBitmap>()),
      FActivePicturesNames(CreateOwned<TStringList>()),
      FCursorsNames(CreateOwned<TStringList>()),
      FSkinColors(CreateOwned<TspSkinColors>()) {}

TspSkinData::~TspSkinData() {
  Empty = true;
  ClearObjects();
}

void TspSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FSkinList) FSkinList = nullptr;
}

void TspSkinData::WatchReference(TComponent* Old, TComponent* New) {
  if (Old == New) return;
  // A component with another owner is freed without this store hearing of it unless it
  // asks to be told.
  if (Old) Old->RemoveFreeNotification(this);
  if (New) New->FreeNotification(this);
}

void TspSkinData::SettingChanged(UINT M, bool SkipWhileLoading) {
  const TComponentState State = ComponentState();
  if (State.Contains(csDesigning) || (SkipWhileLoading && State.Contains(csLoading))) return;
  SendSkinDataMessage(M);
}

void TspSkinData::SetShowLayeredBorders(bool Value) {
  if (FShowLayeredBorders == Value) return;
  FShowLayeredBorders = Value;
  SettingChanged(WM_SKIN_LAYERED_BORDERS_CHANGED, true);
}

void TspSkinData::SetSkinnableForm(bool Value) {
  if (FSkinnableForm == Value) return;
  FSkinnableForm = Value;
  SettingChanged(WM_SKIN_FORMSKINNABLE_CHANGED, true);
}

void TspSkinData::SetAeroBlurEnabled(bool Value) {
  if (FAeroBlurEnabled == Value) return;
  FAeroBlurEnabled = Value;
  SettingChanged(WM_SKIN_AEROBLUR_CHANGED, true);
}

void TspSkinData::SetResourceStrData(TspResourceStrData* Value) {
  WatchReference(FResourceStrData, Value);
  FResourceStrData = Value;
  SettingChanged(WM_SKIN_STRINGS_CHANGED, false);
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* Value) {
  WatchReference(FCompressedStoredSkin, Value);
  FCompressedStoredSkin = Value;
  if (Value && !ComponentState().Contains(csDesigning)) LoadCompressedStoredSkin(Value);
}

void TspSkinData::SetSkinList(TspCompressedSkinList* Value) {
  WatchReference(FSkinList, Value);
  FSkinList = Value;
  if (!ComponentState().Contains(csDesigning)) LoadSkinListItem();
}

void TspSkinData::SetSkinIndex(Integer Value) {
  if (FSkinIndex == Value) return;
  if (FSkinList && (Value < 0 || Value >= FSkinList->Skins()->Count())) return;
  FSkinIndex = Value;
  if (!ComponentState().Contains(csDesigning)) LoadSkinListItem();
}

void TspSkinData::LoadSkinListItem() {
  if (!FSkinList || FSkinIndex < 0 || FSkinIndex >= FSkinList->Skins()->Count()) return;
  LoadCompressedStoredSkin(FSkinList->Skins()->GetItem(FSkinIndex)->Skin());
}

Integer TspSkinData::GetControlIndex(const String& AIDName) const {
  return IndexOfName(CtrlList, AIDName);
}

Integer TspSkinData::GetIndex(const String& AIDName) const {
  return IndexOfName(ObjectList, AIDName);
}

Integer TspSkinData::GetAreaIndex(const String& AIDName) const {
  return IndexOfName(AreaList, AIDName);
}

void TspSkinData::SendSkinDataMessage(UINT M) {
  const WPARAM WParam = reinterpret_cast<WPARAM>(this);
  HWND Served = nullptr;
  if (!FShowLayeredBorders) Served = vantrel::skin::SkinOwnerFormWindow(Owner());
  if (Served) SendMessage(Served, M, WParam, SKIN_MESSAGE_LPARAM);

  std::vector<HWND> Forms;
  for (HWND Wnd : vantrel::skin::SkinApplicationFormWindows())
    if (Wnd != Served && GetClassName(Wnd) != SkinLayerWindowClassName) Forms.push_back(Wnd);
  if (FShowLayeredBorders && LayerFrame->PictureIndex != -1)
    std::reverse(Forms.begin(), Forms.end());
  // A receiver may destroy windows further down the list; a message to a window that is
  // gone is dropped.
  for (HWND Wnd : Forms)
    if (IsWindow(Wnd)) SendMessage(Wnd, M, WParam, SKIN_MESSAGE_LPARAM);
}

void TspSkinData::ClearObjects() {
  AreaList.Clear();
  ObjectList.Clear();
  CtrlList.Clear();
  FActivePictures.Clear();
  PopupWindow->WindowPictureIndex = -1;
  HintWindow->WindowPictureIndex = -1;
  LayerFrame->PictureIndex = -1;
  FCursorsNames->Clear();
  FActivePicturesNames->Clear();
  FSkinColors->SetColorsToDefault();
}

void TspSkinData::ClearAll() {
  ClearObjects();
  for (const FramePicture& P : FramePictures()) {
    P.Bitmap->SetSize(0, 0);
    P.Name->clear();
  }
  Empty = true;
}

void TspSkinData::ClearSkin() {
  ClearAll();
  SendSkinDataMessage(WM_SKIN_BEFORE_CHANGE);
  SendSkinDataMessage(WM_SKIN_CHANGED);
  SendSkinDataMessage(WM_SKIN_AFTER_CHANGE);
}

void TspSkinData::AddSkinArea(const String& AName, const TRect& ARect) {
  AreaList.Add(CreateOwned<TspDataSkinArea>(AName, ARect));
}

void TspSkinData::AddBitMap(const String& FileName) {
  const String Name = PictureFileName(FileName);
  FActivePicturesNames->Add(Name);
  TBitmap* Bitmap = FActivePictures[FActivePictures.Add(CreateOwned<TBitmap>())];
  if (IsJpegFileName(Name))
    LoadJpegToBitmap(Bitmap, FileName);
  else
    Bitmap->LoadFromFile(FileName);
}

void TspSkinData::DeleteBitMap(Integer Index) {
  FActivePicturesNames->Delete(Index);  // raises for a bad index before anything changes
  FActivePictures.Delete(Index);
}

void TspSkinData::GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection) {
  const String& N = ANewFontName;
  const Integer C = AFontHeightCorrection;
  HintWindow->FontName = N;
  HintWindow->FontHeight += C;

  // A main menu item that is not a menu-bar item keeps its font.
  for (TspDataSkinObject* O : ObjectList) {
    (void)(ChangeFontOf<TspDataSkinLabel>(O, N, C) || ChangeFontOf<TspDataSkinMenuItem>(O, N, C) ||
           ChangeFontOf<TspDataSkinMainMenuBarItem>(O, N, C) ||
           ChangeFontOf<TspDataSkinCaption>(O, N, C));
  }

  for (TspDataSkinControl* D : CtrlList) {
    if (auto* Grid = dynamic_cast<TspDataSkinGridControl*>(D)) {
      Grid->FixedFontName = N;
      Grid->FixedFontHeight += C;
    }
    if (auto* List = dynamic_cast<TspDataSkinListBox*>(D)) {
      List->CaptionFontName = N;
      List->CaptionFontHeight += C;
    }
    (void)(ChangeFontOf<TspDataSkinTreeView>(D, N, C) ||
           ChangeFontOf<TspDataSkinListView>(D, N, C) ||
           ChangeFontOf<TspDataSkinRichEdit>(D, N, C) ||
           ChangeFontOf<TspDataSkinTabControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinGridControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinComboBox>(D, N, C) ||
           ChangeFontOf<TspDataSkinListBox>(D, N, C) ||
           ChangeFontOf<TspDataSkinSpinEditControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinEditControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinStdLabelControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinLabelControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinGaugeControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinButtonControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinCheckRadioControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinPanelControl>(D, N, C) ||
           ChangeFontOf<TspDataSkinExPanelControl>(D, N, C));
  }
}
