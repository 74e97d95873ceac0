// Skinned hints. TspSkinHint sits on the main form: it makes the skinned hint window the
// application's hint-window class, picks up the hint title and image of skinned controls,
// and offers timed and immediate hints to the frame, the layered border and the menus.
// TspSkinHintWindow is the hint pop-up itself: sized to its text, kept on the work area,
// drawn from the skin's hint picture (or in info-tip colours), optionally translucent.
#pragma once

#include <memory>

#include "platform/ui/Forms.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Timers.h"
#include "skin/core/data/SkinData.h"

class TspSkinHint;

class TspSkinHintWindow : public THintWindow {
  VANTREL_CLASS(TspSkinHintWindow)
  explicit TspSkinHintWindow(TComponent* AOwner);
  ~TspSkinHintWindow() override;

  void ActivateHint(const TRect& Rect, const String& AHint) override;
  void ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);
  void ActivateHintFromRect(const TRect& ARect, const String& AHint, Boolean ATop);

  // Sizes (the skinned ones also move the corner points and NewClRect for the size).
  void CalcHintSize(TCanvas* Cnvs, const String& AText, Integer& W, Integer& H);
  void CalcHintSizeEx(TCanvas* Cnvs, const String& AText, Integer& W, Integer& H, TCustomImageList* AImageList,
                      Integer AImageIndex, const String& AHintTitle);
  void PaintHintEx();

  TRect NewClRect{};
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TspSkinHint* FspHint = nullptr;
  TspSkinData* FSD = nullptr;
  TOwned<TBitmap> SI;
  HRGN FRgn = nullptr;
  Boolean OldAlphaBlend = false;
  Integer OldAlphaBlendValue = 0;
  Boolean AExtendedStyle = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;

 private:
  // The shared tail of every activation: keep R on the work area, place, go translucent,
  // cut the region, show and fade in.
  void ShowAt(TRect R);
  void SetHintRegion();
  // Skin and canvas font of an activation.
  void ChooseSkinAndFont();
  void PaintBackground(TBitmap* Buffer);
  void SetTextFont(TCanvas* Cnvs);
  void BlendWithScreen(TBitmap* Buffer);
  Boolean Skinned() const;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TspSkinHint : public TComponent {
  VANTREL_CLASS(TspSkinHint)
  explicit TspSkinHint(TComponent* AOwner);
  ~TspSkinHint() override;
  void BeforeDestruction() override;

  const String& LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean AlphaBlendSupport() const { return FAlphaBlendSupport; }
  void SetAlphaBlendSupport(Boolean Value);
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  Boolean AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(Boolean Value) { FAlphaBlendAnimation = Value; }
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  Boolean Active() const { return FActive; }
  void SetActive(Boolean Value);
  TShowHintEvent OnShowHint;

  void ActivateHint(const TPoint& P, const String& AHint);
  void ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);
  void ActivateHint2(const String& AHint);
  void ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                       TCustomImageList* AImageList);
  void ActivateHint3(const TRect& AFromRect, const String& AHint, Boolean ATop);
  void HideHint();
  Boolean IsVisible() const;
  Integer GetCursorHeightMargin();

  // The component's own hint window.
  TspSkinHintWindow* HW = nullptr;
  // Title and image of the hint about to show.
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  TTimer* HintTimer = nullptr;
  String HintText;
  TRect FromRect{};
  Boolean Top = false;

  // The show-hint hook the component puts into the application.
  void AppShowHint(String& HintStr, Boolean& CanShow, THintInfo& HintInfo);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  enum class PendingKind { Plain, Extended, FromRect };
  void StartHintTimer(PendingKind Kind);
  void HintTimerFired(PendingKind Kind);
  void ClearPending();

  Boolean FActive = true;
  TspSkinData* FSD = nullptr;
  Boolean FAlphaBlendSupport = true;
  TOwned<TFont> FDefaultFont;
  Boolean FUseSkinFont = true;
  String FLineSeparator = "@";
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  Boolean FAlphaBlendAnimation = false;
};

// The active TspSkinHint of the application's main form that governs every hint; nullptr
// when there is none.
TspSkinHint* FindSkinHint();
// Every LineSeparator in AText becomes a line feed and a carriage return.
String ConvertLineSeparators(const String& AText, const String& LineSeparator);
