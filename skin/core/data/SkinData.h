// The skin data store: the one object that holds a loaded skin (frame pictures, picture
// list, control and frame-object descriptors, areas, window descriptors, colours, frame
// geometry), filled from a skin folder and written back to one, and the private window
// messages with which it tells every form that the skin changes. Also the user-interface
// texts of the skinned elements (TspResourceStrData) and the skin colours.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "platform/win/WinTypes.h"
#include "skin/core/data/SkinDescriptors.h"

// Private window messages of the store: WParam is the sending TspSkinData, LParam
// SKIN_MESSAGE_LPARAM.
constexpr UINT WM_SKIN_BEFORE_CHANGE = 1225;  // a load or clear begins
constexpr UINT WM_SKIN_CHANGED = 1226;        // the new data is complete
constexpr UINT WM_SKIN_AFTER_CHANGE = 1227;   // after ChangeSkinDataProcess was cleared
constexpr UINT WM_SKIN_STRINGS_CHANGED = 1274;
constexpr UINT WM_SKIN_FORMSKINNABLE_CHANGED = 1294;
constexpr UINT WM_SKIN_LAYERED_BORDERS_CHANGED = 1427;
constexpr UINT WM_SKIN_AEROBLUR_CHANGED = 1428;
constexpr LPARAM SKIN_MESSAGE_LPARAM = 1000;

class TspCompressedStoredSkin;
class TspCompressedSkinList;

// Forms of this class draw the layered borders and never hear the store's messages.
constexpr const char* SkinLayerWindowClassName = "TspFormLayerWindow";

namespace vantrel::skin {

// A list that owns its items. Items(Index) out of range raises EListError
// "List index out of bounds (%d)".
template <class T>
class OwnedList {
 public:
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  T* Items(Integer Index) const {
    Check(Index);
    return FItems[static_cast<size_t>(Index)].get();
  }
  T* operator[](Integer Index) const { return Items(Index); }
  Integer Add(TOwned<T> Item) {
    FItems.push_back(std::move(Item));
    return Count() - 1;
  }
  // Frees the item and removes it.
  void Delete(Integer Index) {
    Check(Index);
    FItems.erase(FItems.begin() + Index);
  }
  void Clear() { FItems.clear(); }

  // Walks the items as plain pointers.
  class Iterator {
   public:
    explicit Iterator(typename std::vector<TOwned<T>>::const_iterator It) : FIt(It) {}
    T* operator*() const { return FIt->get(); }
    Iterator& operator++() {
      ++FIt;
      return *this;
    }
    bool operator!=(const Iterator& Other) const { return FIt != Other.FIt; }

   private:
    typename std::vector<TOwned<T>>::const_iterator FIt;
  };
  Iterator begin() const { return Iterator(FItems.begin()); }
  Iterator end() const { return Iterator(FItems.end()); }

 private:
  void Check(Integer Index) const;
  std::vector<TOwned<T>> FItems;
};

[[noreturn]] void RaiseListIndexError(Integer Index);

template <class T>
void OwnedList<T>::Check(Integer Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
}

// Where a load finds the picture and cursor files that skin.ini names: a skin folder, or
// (later) the files of a compressed skin.
class SkinFileSource {
 public:
  virtual ~SkinFileSource() = default;
  // Loads picture Name into Bitmap, JPEG or BMP by what the file holds. Raises the file or
  // image error when it cannot.
  virtual void LoadPicture(TBitmap* Bitmap, const String& Name) = 0;
  // The cursor of file Name, 0 when it does not load.
  virtual HCURSOR LoadCursorFile(const String& Name) = 0;
};

// The [PICTURES] keys of the five frame pictures: frame, inactive frame, mask, rolled-up
// frame and its mask, the order in which every reader and writer takes them.
constexpr const char* FramePictureKeys[5] = {"picture", "inactivepicture", "mask", "rolluppicture",
                                             "rollupmask"};

// Writes Bitmap as a BMP file image; an empty one (a list picture whose file did not load)
// as one pixel of the transparent key colour, so that a reader finds a picture where the
// names and indexes of the skin expect one.
void SaveSkinPicture(TBitmap* Bitmap, TStream* Stream);

// The forms the store's messages go to and the cursors of a skin, on the application's
// screen (SkinData_Forms.cpp). A store used where no application exists (a tool without
// forms) has no form list to tell, so only an owner form hears it, and keeps the skin's
// cursors in a table of its own instead of the screen's.
//   The window of Owner when it is a form (made when it has none); nullptr otherwise.
HWND SkinOwnerFormWindow(TComponent* Owner);
//   The window of every form of Screen.Forms but the layered-border windows, in the
//   order the forms were made; windows are made where missing.
std::vector<HWND> SkinApplicationFormWindows();

// Skin cursor i goes to slot StartCursorIndex + i of Screen.Cursors, which owns it from
// then on and frees what the slot held; 0 gives the slot the default arrow. The skin's
// cursors still in their slots are freed when the screen goes.
void InstallScreenCursor(Integer Slot, HCURSOR Cursor);
//   The skin cursor that Slot holds; nullptr when the slot shows the default or a cursor
//   put there by other code.
HCURSOR ScreenCursor(Integer Slot);

}  // namespace vantrel::skin

// ---------------------------------------------------------------------------------------

// The user-interface texts of the skinned elements, one line "NAME=text" each, so an
// application can translate them in one place. Made with the built-in English texts.
class TspResourceStrData : public TComponent {
  VANTREL_CLASS(TspResourceStrData)
  explicit TspResourceStrData(TComponent* AOwner);

  TStrings* ResStrings() const { return FResStrs.get(); }
  // Copies the lines of Value over the whole list.
  void SetResStrings(TStrings* Value);
  TFontCharset CharSet() const { return FCharSet; }
  void SetCharSet(TFontCharset Value) { FCharSet = Value; }

  // The text after the first "=" of the first line whose name (the text before its first
  // "=") equals ResName without regard to case; empty when there is none.
  String GetResStr(const String& ResName) const;

 private:
  TOwned<TStringList> FResStrs;
  TFontCharset FCharSet = DEFAULT_CHARSET;
};

// The ten colours of a skin ([SKINCOLORS]); all 0 when made.
class TspSkinColors : public TObject {
  VANTREL_CLASS(TspSkinColors)
  TspSkinColors() = default;

  // The platform's system colours (button face, window, highlight ...).
  void SetColorsToDefault();
  // Absent keys give 0.
  void LoadFromFile(TCustomIniFile* IniFile);
  // Replaces the section.
  void SaveToFile(TCustomIniFile* IniFile);
  // The keys of [SKINCOLORS], in file order.
  void VisitKeys(vantrel::skin::SkinKeyVisitor& V);

  TColor cBtnFace() const { return FcBtnFace; }
  void SetcBtnFace(TColor Value) { FcBtnFace = Value; }
  TColor cBtnText() const { return FcBtnText; }
  void SetcBtnText(TColor Value) { FcBtnText = Value; }
  TColor cHighLight() const { return FcHighLight; }
  void SetcHighLight(TColor Value) { FcHighLight = Value; }
  TColor cHighLightText() const { return FcHighLightText; }
  void SetcHighLightText(TColor Value) { FcHighLightText = Value; }
  TColor cWindow() const { return FcWindow; }
  void SetcWindow(TColor Value) { FcWindow = Value; }
  TColor cWindowText() const { return FcWindowText; }
  void SetcWindowText(TColor Value) { FcWindowText = Value; }
  TColor cBtnHighLight() const { return FcBtnHighLight; }
  void SetcBtnHighLight(TColor Value) { FcBtnHighLight = Value; }
  TColor cBtnShadow() const { return FcBtnShadow; }
  void SetcBtnShadow(TColor Value) { FcBtnShadow = Value; }
  TColor c3DLight() const { return Fc3DLight; }
  void Setc3DLight(TColor Value) { Fc3DLight = Value; }
  TColor c3DDkShadow() const { return Fc3DDkShadow; }
  void Setc3DDkShadow(TColor Value) { Fc3DDkShadow = Value; }

 protected:
  TColor FcBtnFace = 0;
  TColor FcBtnText = 0;
  TColor FcWindow = 0;
  TColor FcWindowText = 0;
  TColor FcHighLight = 0;
  TColor FcHighLightText = 0;
  TColor FcBtnHighLight = 0;
  TColor FcBtnShadow = 0;
  TColor Fc3DLight = 0;
  TColor Fc3DDkShadow = 0;
};

// True when the five sections VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS
// each hold at least one key.
bool IsSkinIniFile(TCustomIniFile* IniFile);

// The loaded skin. Consumers read the public fields directly and find descriptors by name;
// a descriptor index stays valid until the next clear or load.
class TspSkinData : public TComponent {
  VANTREL_CLASS(TspSkinData)
  explicit TspSkinData(TComponent* AOwner);
  // Sets Empty and frees everything; sends no message.
  ~TspSkinData() override;

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Published properties.
  bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
  void SetAnimationForAllWindows(bool Value) { FAnimationForAllWindows = Value; }
  bool ShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool SkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool EnableSkinEffects() const { return FEnableSkinEffects; }
  void SetEnableSkinEffects(bool Value) { FEnableSkinEffects = Value; }
  bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);
  bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
  void SetShowButtonGlowFrames(bool Value) { FShowButtonGlowFrames = Value; }
  bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
  void SetShowCaptionButtonGlowFrames(bool Value) { FShowCaptionButtonGlowFrames = Value; }
  // Not owned; forgotten when it is freed. Every assignment tells the forms.
  TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
  void SetResourceStrData(TspResourceStrData* Value);
  // Not owned; forgotten when it is freed. Assigning one loads its skin at once.
  TspCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TspCompressedStoredSkin* Value);
  // Not owned; forgotten when it is freed. Assigning one loads its skin SkinIndex when the
  // list has that item.
  TspCompressedSkinList* SkinList() const { return FSkinList; }
  void SetSkinList(TspCompressedSkinList* Value);
  // With a skin list, an index outside it is ignored and any other loads that item's skin;
  // without one the index is only kept for a list assigned later.
  Integer SkinIndex() const { return FSkinIndex; }
  void SetSkinIndex(Integer Value);
  TNotifyEvent OnLoadData;

  TspSkinColors* SkinColors() const { return FSkinColors.get(); }

  // Index of the first descriptor (control, frame object, area) whose IDName equals
  // AIDName exactly; -1 when there is none.
  Integer GetControlIndex(const String& AIDName) const;
  Integer GetIndex(const String& AIDName) const;
  Integer GetAreaIndex(const String& AIDName) const;

  // Sends M (WParam this, LParam 1000) to every form but the layered-border windows: to
  // the owner form first unless layered borders are shown; from the last form to the
  // first when layered borders are shown and the skin has a layer-frame picture.
  void SendSkinDataMessage(UINT M);

  // Frees the descriptors, areas and pictures of the list, forgets the window pictures and
  // cursors, and sets the system colours; the frame pictures and geometry stay.
  void ClearObjects();
  // ClearObjects, empties the five frame pictures and their names, sets Empty.
  void ClearAll();
  // ClearAll, then the three skin-change messages.
  void ClearSkin();

  void AddSkinArea(const String& AName, const TRect& ARect);
  // Appends the file name (without folder) and a new bitmap, then loads the file into it
  // (JPEG by its name, else BMP); a failing read leaves the empty bitmap under the name.
  void AddBitMap(const String& FileName);
  // Raises "List index out of bounds (%d)" before anything is removed.
  void DeleteBitMap(Integer Index);
  // Rewrites the font name and height of the hint window and of every descriptor with a
  // text font; sends nothing.
  void GlobalChangeFont(const String& ANewFontName, Integer AFontHeightCorrection);

  // Loads the skin whose skin.ini is FileName, with pictures and cursors from its folder.
  // A file that is not a skin description changes nothing and sends nothing. A picture
  // that cannot be read, a cursor entry naming a folder (EFOpenError) or a rectangle
  // without digits raises; the store is then empty and the forms have been told that the
  // change ended. A cursor file that is missing or not a cursor leaves the default cursor.
  void LoadFromFile(const String& FileName);
  // The five frame pictures with their [PICTURES] keys and names, in file order.
  struct FramePicture {
    const char* Key;
    TBitmap* Bitmap;
    String* Name;
  };
  std::array<FramePicture, 5> FramePictures();

  // Writes every section of the skin into IniFile.
  void SaveToCustomIniFile(TCustomIniFile* IniFile);
  // Writes skin.ini, keeping the sections of an existing file that the store does not write.
  void SaveToFile(const String& FileName);
  // Writes skin.ini and every picture (as BMP, also under a JPEG name) into folder APath
  // (ending in "/"). An empty frame picture has no file, so skin.ini names none for it.
  void StoreToDisk(const String& APath);
  // Compressed skins (SkinData_Compressed.cpp). Loads the skin of a stored skin (nothing
  // when it is empty), with the three skin-change messages; its cursors are never read.
  void LoadCompressedStoredSkin(TspCompressedStoredSkin* AStoredSkin);
  void SaveToCompressedFile(const String& FileName);
  void LoadFromCompressedFile(const String& FileName);

  // The skin (public fields, read by every skinned element).
  TRect SizeGripArea;
  String StatusBarName;
  TRect ButtonsRect;
  TRect CaptionRect;
  Integer ButtonsOffset = 0;
  bool CapButtonsInLeft = false;
  bool AutoRenderingInActiveImage = false;
  TspInActiveEffect InActiveEffect = ieBrightness;
  Integer StartCursorIndex = 1;
  Integer CursorIndex = -1;
  bool BuildMode = false;
  TOwned<TspDataSkinPopupWindow> PopupWindow;
  TOwned<TspDataSkinLayerFrame> LayerFrame;
  TOwned<TspDataSkinHintWindow> HintWindow;
  bool Empty = true;
  TOwned<TBitmap> FPicture, FInActivePicture, FMask, FRollUpPicture, FRollUpMask;
  vantrel::skin::OwnedList<TBitmap> FActivePictures;
  String FPictureName, FInActivePictureName, FMaskName, FRollUpPictureName, FRollUpMaskName;
  TOwned<TStringList> FActivePicturesNames;
  TOwned<TStringList> FCursorsNames;
  vantrel::skin::OwnedList<TspDataSkinObject> ObjectList;
  vantrel::skin::OwnedList<TspDataSkinArea> AreaList;
  vantrel::skin::OwnedList<TspDataSkinControl> CtrlList;
  TPoint LTPoint, RTPoint, LBPoint, RBPoint;
  Integer BGPictureIndex = -1;
  Integer MDIBGPictureIndex = -1;
  TRect MainMenuRect;
  TRect IconRect;
  bool MainMenuPopupUp = false;
  TRect MaskRectArea;
  TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
  TRect ClRect;
  Integer BorderW = 0;
  Integer FormMinWidth = 0;
  Integer FormMinHeight = 0;
  bool MDITabsTransparent = false;
  bool MainMenuBarTransparent = false;
  bool TopStretch = false;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool BottomStretch = false;
  bool StretchEffect = false;
  TspStretchType StretchType = spstFull;
  bool MDIBGStretchEffect = false;
  TspStretchType MDIBGStretchType = spstFull;
  TPoint RollUpLeftPoint, RollUpRightPoint;
  String SkinName, SkinAuthor, AuthorURL, AuthorEmail, SkinComments;
  // Set from the start of a load until WM_SKIN_CHANGED has been sent.
  bool ChangeSkinDataProcess = false;

 protected:
  // Fills the store from an accepted skin description: the three skin-change messages
  // around clearing and reading every section, pictures and cursors from Files. Each
  // kind of skin source (folder, compressed skin) comes through here.
  void LoadSkin(TCustomIniFile* IniFile, vantrel::skin::SkinFileSource& Files);

  bool FSkinnableForm = true;
  bool FEnableSkinEffects = true;
  TspResourceStrData* FResourceStrData = nullptr;
  TspCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TspCompressedSkinList* FSkinList = nullptr;
  Integer FSkinIndex = 0;
  TOwned<TspSkinColors> FSkinColors;
  bool FShowButtonGlowFrames = true;
  bool FShowCaptionButtonGlowFrames = true;
  bool FShowLayeredBorders = true;
  bool FAeroBlurEnabled = true;
  bool FAnimationForAllWindows = false;

 private:
  // The keys of the store's own sections (SkinData_Keys.cpp).
  void VisitVersionKeys(vantrel::skin::SkinKeyVisitor& V);
  void VisitPictureNameKeys(vantrel::skin::SkinKeyVisitor& V);
  void VisitFormInfoKeys(vantrel::skin::SkinKeyVisitor& V);
  // The reader's steps (SkinData_Reader.cpp).
  void ReadSkinSections(TCustomIniFile* IniFile, vantrel::skin::SkinFileSource& Files);
  // [VERSION] and the names of [PICTURES]; the pictures themselves are not read.
  void ReadVersionAndPictureNames(TCustomIniFile* IniFile);
  void ReadPictures(vantrel::skin::SkinFileSource& Files);
  void ReadCursors(TCustomIniFile* IniFile, vantrel::skin::SkinFileSource& Files);
  // Everything after the pictures and cursors: [FORMINFO] with its fix-ups, the window
  // descriptors, the colours, the areas and the descriptor lists.
  void ReadFrameAndDescriptors(TCustomIniFile* IniFile);
  void ReadFormInfo(TCustomIniFile* IniFile);
  void ReadAreas(TCustomIniFile* IniFile);
  void ReadDescriptors(TCustomIniFile* IniFile);
  // The sections of a stored skin; false for a block of a later version, which reads nothing.
  bool ReadCompressedSkin(TspCompressedStoredSkin* AStoredSkin);
  // WM_SKIN_CHANGED, ChangeSkinDataProcess cleared, WM_SKIN_AFTER_CHANGE; the flag is
  // cleared and the last message sent even when a receiver raises.
  void EndSkinChange();
  // The whole change around a load: WM_SKIN_BEFORE_CHANGE, the store cleared, Load run
  // (true: the skin is in place and OnLoadData fires), then the change ended; when Load
  // raises, the store is left empty and the change still ended before the error goes on.
  void RunSkinChange(const std::function<bool()>& Load);
  // Raises EInvalidOperation when the picture list and its names differ in number.
  void CheckPictureNames() const;
  // Sends a settings message unless designing (or, with SkipWhileLoading, loading).
  void SettingChanged(UINT M, bool SkipWhileLoading);
  // Moves the free notification of a referenced component from Old to New.
  void WatchReference(TComponent* Old, TComponent* New);
  // The skin of item FSkinIndex of the skin list, when the list has that item.
  void LoadSkinListItem();
};
