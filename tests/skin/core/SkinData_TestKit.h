// Test helpers for the skin data store: skin folders written from text with small BMP
// pictures, the whole store as text (for comparing two stores), and form windows that
// record the skin messages they receive, in one trace across all of them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "skin/core/SkinData.h"
#include "tests/support/RtlDataTempDir.h"

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

// A skin folder in a temporary directory: skin.ini from text, pictures by name.
class SkinFolder {
 public:
  SkinFolder() = default;
  std::string Path() const { return FDir.Path() + "/"; }
  std::string Ini() const { return Path() + "skin.ini"; }
  void WriteIni(const std::string& Text) const { RtlDataWriteFile(Ini(), Text); }
  void Picture(const std::string& Name, int Width = 8, int Height = 6,
               TColor Color = 0x336699) const {
    WriteSkinBmp(Path() + Name, Width, Height, Color);
  }

 private:
  RtlDataTempDir FDir;
};

// The five sections that make a file a skin description, each with one key, plus Extra.
inline std::string MinimalSkinIni(const std::string& Extra = std::string()) {
  return "[VERSION]\nskinname=Minimal\n"
         "[PICTURES]\npicture=\n"
         "[FORMINFO]\nborderwidth=3\n"
         "[SKINOBJECTS]\ncount=0\n"
         "[SKINCONTROLS]\ncount=0\n" +
         Extra;
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

// A top-level window of the class library (a form as far as the store can tell) that
// records the skin messages it receives into Trace.
class TSkinTestForm : public TWinControl {
  VANTREL_CLASS(TSkinTestForm)
  TSkinTestForm(TComponent* AOwner, SkinTrace* ATrace) : TWinControl(AOwner), Trace(ATrace) {}

  SkinTrace* Trace;
  // Runs after a skin message was recorded.
  std::function<void(UINT Msg)> OnSkinMessage;

  void WndProc(TMessage& Message) override {
    if (Trace && IsSkinMessage(Message.Msg)) {
      Trace->Messages.emplace_back(Handle(), Message.Msg);
      Trace->Senders.push_back(Message.WParam);
      Trace->LParams.push_back(Message.LParam);
      if (Trace->Store)
        Trace->StoreStates.emplace_back(Trace->Store->ChangeSkinDataProcess, Trace->Store->Empty);
    }
    if (OnSkinMessage && IsSkinMessage(Message.Msg)) OnSkinMessage(Message.Msg);
    TWinControl::WndProc(Message);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    Params.WndParent = nullptr;
  }
};

// The class of the windows that draw layered borders: never a receiver.
class TspFormLayerWindow : public TSkinTestForm {
  VANTREL_CLASS(TspFormLayerWindow)
  using TSkinTestForm::TSkinTestForm;
};

}  // namespace vantrel::test
