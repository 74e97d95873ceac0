// The window system on the X11 display of a virtual X server, with a real clock, and a
// second X connection that plays another program (it reads what the server shows).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/X11Display.h"
#include "platform/win/Clock.h"
#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/Surface.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WndProc.h"
#include "tests/platform/display/x11/X11Peer.h"
#include "tests/support/PumpUntil.h"

namespace vantrel::x11test {

using testsupport::PumpUntil;

// A window class whose client area is one colour (GWL_USERDATA, 0x00BBGGRR) and which
// counts its WM_PAINT messages.
inline int& PaintCount(HWND Wnd) {
  static std::map<HWND, int> Counts;  // handles are never reused
  return Counts[Wnd];
}

inline LRESULT FillProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg == WM_PAINT) {
    ++PaintCount(Wnd);
    PAINTSTRUCT Ps;
    HDC Dc = BeginPaint(Wnd, &Ps);
    RECT R;
    GetClientRect(Wnd, &R);
    HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(Wnd, GWL_USERDATA)));
    FillRect(Dc, &R, B);
    DeleteObject(B);
    EndPaint(Wnd, &Ps);
    return 0;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

constexpr const char* FillClass = "X11TestFill";

struct X11Session {
  display::X11Display* Display = nullptr;
  std::unique_ptr<win::WindowManager> Manager;
  X11Peer Peer;

  X11Session() {
    const char* Name = std::getenv("DISPLAY");
    auto D = std::make_unique<display::X11Display>(Name ? Name : "");
    Display = D.get();
    Manager = std::make_unique<win::WindowManager>(std::move(D), std::make_unique<win::RealClock>());
    WNDCLASS C{};
    C.lpfnWndProc = MakeWndProc(&FillProc);
    C.lpszClassName = FillClass;
    RegisterClass(&C);
  }
  ~X11Session() { Manager.reset(); }

  unsigned long XWindow(HWND Wnd) const { return Display->XWindowOf(Wnd); }

  // A window of one colour (0x00BBGGRR).
  HWND Fill(DWORD ExStyle, DWORD Style, RECT R, COLORREF Color, HWND Parent = nullptr) {
    HWND W = CreateWindowEx(ExStyle, FillClass, "", Style, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Parent,
                            nullptr, nullptr, nullptr);
    SetWindowLongPtr(W, GWL_USERDATA, static_cast<LONG_PTR>(Color));
    InvalidateRect(W, nullptr, TRUE);
    return W;
  }

  // The top-level window's backing store (what it drew), after pending paints.
  win::Surface Capture(HWND Wnd) {
    PumpUntil([] { return true; });
    win::Window* W = Manager->Find(Wnd);
    win::Surface Out(W->Width(), W->Height(), false);
    for (int Y = 0; Y < Out.Height(); ++Y)
      std::memcpy(Out.Row(Y), W->BackingStore->Row(Y), static_cast<size_t>(Out.Width()) * 4);
    return Out;
  }

  bool Viewable(HWND Wnd) { return Peer.Viewable(XWindow(Wnd)); }
};

// 0x00BBGGRR as the screen's 0x00RRGGBB.
constexpr uint32_t ScreenColor(COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }

}  // namespace vantrel::x11test
