// Controls for the class library's tests: a top-level "form" (a custom control whose
// window is a popup on the screen) and controls that paint flat colours and record the
// messages they see.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/win/Surface.h"

namespace vantrel::uitest {

// A window on the screen; Color fills its background.
class TTestForm : public TCustomControl {
  VANTREL_CLASS(TTestForm)
  explicit TTestForm(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle.Include(csAcceptsControls);
    SetColor(clWhite);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    Params.WndParent = nullptr;
  }
};

// A windowed control that paints a rectangle of FillColor over its background and keeps a
// log of the message numbers it handled.
class TTestPanel : public TCustomControl {
  VANTREL_CLASS(TTestPanel)
  explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) { ControlStyle.Include(csAcceptsControls); }

  TColor FillColor = clNone;
  TRect FillRect = Rect(0, 0, 0, 0);
  std::vector<std::string>* Log = nullptr;  // enter/leave, when set

 protected:
  void Paint() override {
    if (FillColor == clNone) return;
    Canvas()->Brush()->SetColor(FillColor);
    Canvas()->FillRect(FillRect);
  }
  void CMMouseEnter(TWMNoParams& Message) override {
    if (Log) Log->push_back("enter " + Name());
    TCustomControl::CMMouseEnter(Message);
  }
  void CMMouseLeave(TWMNoParams& Message) override {
    if (Log) Log->push_back("leave " + Name());
    TCustomControl::CMMouseLeave(Message);
  }
};

// A windowless control filled with one colour.
class TTestShape : public TGraphicControl {
  VANTREL_CLASS(TTestShape)
  explicit TTestShape(TComponent* AOwner) : TGraphicControl(AOwner) {}

  TColor FillColor = clRed;
  int Paints = 0;
  std::vector<std::string>* Log = nullptr;  // enter/leave, when set

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(FillColor);
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
  void CMMouseEnter(TWMNoParams& Message) override {
    if (Log) Log->push_back("enter " + Name());
    TGraphicControl::CMMouseEnter(Message);
  }
  void CMMouseLeave(TWMNoParams& Message) override {
    if (Log) Log->push_back("leave " + Name());
    TGraphicControl::CMMouseLeave(Message);
  }
};

// The pixel at (X, Y) of a surface as 0x00RRGGBB.
inline uint32_t RgbAt(const win::Surface& S, int X, int Y) { return S.Row(Y)[X] & 0xFFFFFF; }
// 0x00RRGGBB of a plain TColor (0x00BBGGRR).
inline uint32_t RgbOf(TColor C) {
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

}  // namespace vantrel::uitest
