// Test helpers for the skin data store: skin folders written from text with small BMP
// pictures, the whole store as text (for comparing two stores), and forms that record the
// skin messages they receive, in one trace across all of them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/TempDir.h"

namespace vantrel::test {

// Writes a Width x Height 24-bit BMP filled with Color (0x00BBGGRR), a one-pixel frame of
// Color ^ 0xFFFFFF around it so that a picture's orientation shows.
inline void WriteSkinBmp(const std::string& FileName, int Width, int Height, TColor Color) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width, Height);
  B->Canvas()->Brush()->SetColor(Color ^ 0xFFFFFF);
  B->Canvas()->FillRect(Rect(0, 0, Width, Height));
  B->Canvas()->Brush()->SetColor(Color);
  if (Width > 2 && Height > 2) B->Canvas()->FillRect(Rect(1, 1, Width - 1, Height - 1));
  B->SaveToFile(FileName);
}

// The BMP file image of a bitmap.
inline std::string BitmapBytes(TBitmap* Bitmap) {
  auto S = CreateOwned<TMemoryStream>();
  Bitmap->SaveToStream(S.get());
  return std::string(static_cast<const char*>(S->Memory()), static_cast<size_t>(S->Size()));
}

// Every section the store writes, as text; two stores holding the same skin give the same
// text.
inline std::string StoreText(TspSkinData& Store) {
  auto Ini = CreateOwned<TMemIniFile>(String());
  Store.SaveToCustomIniFile(Ini.get());
  TStringList Lines;
  Ini->GetStrings(Lines);
  return Lines.Text();
}

// What a store's frame and list pictures hold, as BMP images; an empty picture as "".
inline std::vector<std::string> StorePictures(TspSkinData& Store) {
  std::vector<std::string> R;
  for (TBitmap* B : {Store.FPicture.get(), Store.FInActivePicture.get(), Store.FMask.get(),
                     Store.FRollUpPicture.get(), Store.FRollUpMask.get()})
    R.push_back(B->Empty() ? std::string() : BitmapBytes(B));
  for (TBitmap* B : Store.FActivePictures) R.push_back(B->Empty() ? std::string() : BitmapBytes(B));
  return R;
}

class SkinFolder {
 public:
  SkinFolder() = default;
  std::string Path() const { return FDir.Path() + "/"; }
  std::string Ini() const { return Path() + "skin.ini"; }
  void WriteIni(const std::string& Text) const { WriteFileBytes(Ini(), Text); }
  void Picture(const std::string& Name, int Width = 8, int Height = 6,
               TColor Color = 0x336699) const {
    WriteSkinBmp(Path() + Name, Width, Height, Color);
  }

 private:
  TTempDir FDir;
};

// Stores a loaded skin into an empty folder and loads that folder into a new store, which
// must hold the same skin: the same sections and the same pictures. An empty frame picture
// means "none" and has no file, so it comes back without a name; an empty list picture
// comes back as one pixel of the key colour (0xFF00FF), which keeps the later ones in place.
inline void ExpectStoredFolderLoadsBack(TspSkinData& Store) {
  SCOPED_TRACE("stored into a folder and loaded back");
  SkinFolder Out;
  Store.StoreToDisk(Out.Path());
  auto Back = CreateOwned<TspSkinData>(nullptr);
  Back->BuildMode = true;  // the screen's cursors stay as they are
  Back->LoadFromFile(Out.Ini());
  ASSERT_FALSE(Back->Empty);

  std::vector<std::string> Pictures = StorePictures(Store);
  const std::pair<TBitmap*, String*> Frame[] = {{Store.FPicture.get(), &Store.FPictureName},
                                                {Store.FInActivePicture.get(), &Store.FInActivePictureName},
                                                {Store.FMask.get(), &Store.FMaskName},
                                                {Store.FRollUpPicture.get(), &Store.FRollUpPictureName},
                                                {Store.FRollUpMask.get(), &Store.FRollUpMaskName}};
  std::vector<String> Kept;
  for (const auto& [Bitmap, Name] : Frame) {
    Kept.push_back(*Name);
    if (Bitmap->Empty()) Name->clear();
  }
  const std::string Expected = StoreText(Store);
  for (size_t i = 0; i < Kept.size(); ++i) *Frame[i].second = Kept[i];
  auto KeyPixel = CreateOwned<TBitmap>();
  KeyPixel->SetPixelFormat(pf24bit);
  KeyPixel->SetSize(1, 1);
  KeyPixel->Canvas()->SetPixels(0, 0, 0xFF00FF);
  for (size_t i = 5; i < Pictures.size(); ++i)
    if (Pictures[i].empty()) Pictures[i] = BitmapBytes(KeyPixel.get());

  EXPECT_EQ(StoreText(*Back), Expected);
  EXPECT_EQ(StorePictures(*Back), Pictures);
}

// The five sections that make a file a skin description, each with one key, plus Extra.
inline std::string MinimalSkinIni(const std::string& Extra = std::string()) {
  return "[VERSION]\nskinname=Minimal\n"
         "[PICTURES]\npicture=\n"
         "[FORMINFO]\nborderwidth=3\n"
         "[SKINOBJECTS]\ncount=0\n"
         "[SKINCONTROLS]\ncount=0\n" +
         Extra;
}

// A 2 x 2 monochrome cursor file with its hot spot at (1, 0).
inline std::string SkinCursorFileBytes() {
  std::string B;
  auto U16 = [&B](int V) {
    B += static_cast<char>(V & 0xFF);
    B += static_cast<char>((V >> 8) & 0xFF);
  };
  auto U32 = [&](int V) {
    U16(V & 0xFFFF);
    U16((V >> 16) & 0xFFFF);
  };
  const int ImageSize = 40 + 8 + 8 + 8;
  U16(0), U16(2), U16(1);                           // header: a cursor file, one image
  B += '\2', B += '\2', B += '\0', B += '\0';       // 2 x 2, no palette count
  U16(1), U16(0), U32(ImageSize), U32(22);          // hot spot, size, offset
  U32(40), U32(2), U32(4), U16(1), U16(1), U32(0);  // info header (height doubled)
  U32(0), U32(0), U32(0), U32(0), U32(0);
  U32(0x000000), U32(0xFFFFFF);      // palette
  U32(0x40000000), U32(0x80000000);  // colour rows
  U32(0), U32(0);                    // mask rows
  return B;
}

// (window, message) in the order the skin messages arrived, over every recording form.
struct SkinTrace {
  std::vector<std::pair<HWND, UINT>> Messages;
  std::vector<WPARAM> Senders;
  std::vector<LPARAM> LParams;
  // What the store looked like when a message arrived: ChangeSkinDataProcess, Empty.
  std::vector<std::pair<bool, bool>> StoreStates;
  TspSkinData* Store = nullptr;
};

inline bool IsSkinMessage(UINT Msg) {
  return Msg == WM_SKIN_BEFORE_CHANGE || Msg == WM_SKIN_CHANGED || Msg == WM_SKIN_AFTER_CHANGE ||
         Msg == WM_SKIN_STRINGS_CHANGED || Msg == WM_SKIN_FORMSKINNABLE_CHANGED ||
         Msg == WM_SKIN_LAYERED_BORDERS_CHANGED || Msg == WM_SKIN_AEROBLUR_CHANGED;
}

// Forms need the application's objects. A fixture that makes its forms (without an owner)
// on a bare headless session gets them with its first TSkinTestForm; they go with the last
// such form (so before the session, which the fixture declares first). Where an
// application exists already (FormsSession), the forms just join it.
class SkinTestApplicationUse {
 public:
  SkinTestApplicationUse() {
    if (!Application) Instance() = std::make_unique<TApplicationInstance>();
    FUses = Instance() != nullptr;
    if (FUses) ++Users();
  }
  ~SkinTestApplicationUse() {
    if (FUses && --Users() == 0) Instance().reset();
  }
  SkinTestApplicationUse(const SkinTestApplicationUse&) = delete;
  SkinTestApplicationUse& operator=(const SkinTestApplicationUse&) = delete;

 private:
  static std::unique_ptr<TApplicationInstance>& Instance() {
    static std::unique_ptr<TApplicationInstance> I;
    return I;
  }
  static int& Users() {
    static int N = 0;
    return N;
  }
  bool FUses;
};

// A form that records the skin messages it receives into Trace.
class TSkinRecordingForm : public TForm {
  VANTREL_CLASS(TSkinRecordingForm)
  explicit TSkinRecordingForm(TComponent* AOwner, SkinTrace* ATrace = nullptr)
      : TForm(AOwner), Trace(ATrace) {}

  SkinTrace* Trace;
  // Runs after a skin message was recorded.
  std::function<void(UINT Msg)> OnSkinMessage;

 protected:
  void WndProc(TMessage& Message) override {
    if (Trace && IsSkinMessage(Message.Msg)) {
      Trace->Messages.emplace_back(Handle(), Message.Msg);
      Trace->Senders.push_back(Message.WParam);
      Trace->LParams.push_back(Message.LParam);
      if (Trace->Store)
        Trace->StoreStates.emplace_back(Trace->Store->ChangeSkinDataProcess, Trace->Store->Empty);
    }
    if (OnSkinMessage && IsSkinMessage(Message.Msg)) OnSkinMessage(Message.Msg);
    TForm::WndProc(Message);
  }
};

// A recording form on the application's screen, made with the application when none
// exists. The use of the application comes first, so the screen exists when the form
// joins its list and still exists when the form leaves it.
class TSkinTestForm : private SkinTestApplicationUse, public TSkinRecordingForm {
  VANTREL_CLASS(TSkinTestForm)
  using TSkinRecordingForm::TSkinRecordingForm;
};

// The class of the forms that draw layered borders: never a receiver.
class TspFormLayerWindow : public TSkinTestForm {
  VANTREL_CLASS(TspFormLayerWindow)
  using TSkinTestForm::TSkinTestForm;
};

}  // namespace vantrel::test
