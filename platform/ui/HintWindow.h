// THintWindow: the small top-most window that shows a control's hint, sized to its text,
// never activated and transparent to the pointer; and THintInfo, what the application
// tells OnShowHint about the hint it is about to show.
#pragma once

#include "platform/ui/Controls.h"

class THintWindow : public TCustomControl {
  VANTREL_CLASS(THintWindow)
  explicit THintWindow(TComponent* AOwner);

  // Shows AHint at Rect (screen coordinates) on top of everything, without activation.
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  virtual void ActivateHintData(const TRect& Rect, const String& AHint, void* AData);
  // The rectangle (from 0,0) the text needs, wrapped at MaxWidth.
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData);
  // Hides the window (destroying it, so the next activation starts afresh).
  void ReleaseHandle();
  // The window exists and shows.
  Boolean IsHintShowing();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
};

// A class reference for the application's hint window (see TApplication::HintWindowClass).
using THintWindowClass = TComponentClass;

struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass{};
  TPoint HintPos{};        // screen position of the hint's top-left corner
  Integer HintMaxWidth = 0;
  TColor HintColor = 0;
  TRect CursorRect{};      // in HintControl's client coordinates: moving out of it cancels
  TPoint CursorPos{};      // in HintControl's client coordinates
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};
