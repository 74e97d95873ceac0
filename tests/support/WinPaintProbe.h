// Painting-test helpers (header-only): a window class whose windows paint their client
// area and their frame in flat colours of the test's choosing and record every area
// WM_PAINT was asked for, plus pixel checks that leave a PNG behind when they fail.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowDc.h"
#include "tests/support/WinMessageLog.h"

namespace vantrel::test {

// Plain colours the window tests paint with.
inline constexpr COLORREF Red = RGB(255, 0, 0), Green = RGB(0, 255, 0), Blue = RGB(0, 0, 255),
                          Yellow = RGB(255, 255, 0), Magenta = RGB(255, 0, 255);

class PaintProbe {
 public:
  struct Painted {
    HWND Wnd;
    RECT Area;
    friend bool operator==(const Painted&, const Painted&) = default;
  };

  explicit PaintProbe(const std::string& ClassName = "PaintProbe") : FLog(ClassName) {
    FLog.Handler() = [this](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      switch (Msg) {
        case WM_ERASEBKGND:
          return EraseHandled ? std::optional<LRESULT>(1) : std::nullopt;
        case WM_NCPAINT:
          PaintFrame(Wnd);
          return 0;
        case WM_PAINT: {
          PAINTSTRUCT Ps;
          HDC Dc = BeginPaint(Wnd, &Ps);
          Log.push_back({Wnd, Ps.rcPaint});
          if (auto It = Client.find(Wnd); It != Client.end()) {
            RECT R;
            GetClientRect(Wnd, &R);
            HBRUSH B = CreateSolidBrush(It->second);
            FillRect(Dc, &R, B);
            DeleteObject(B);
          }
          if (OnPaint) OnPaint(Wnd, Dc);
          EndPaint(Wnd, &Ps);
          return 0;
        }
        default:
          return std::nullopt;
      }
    };
  }

  MessageLog& Messages() { return FLog; }
  HWND Create(DWORD Style, int X, int Y, int W, int H, HWND Parent = nullptr, DWORD ExStyle = 0) {
    return FLog.Create(Style, X, Y, W, H, Parent, ExStyle);
  }
  // Painted areas of Wnd (nullptr: of every window), in order.
  std::vector<Painted> PaintedOf(HWND Wnd = nullptr) const {
    std::vector<Painted> Out;
    for (const Painted& P : Log)
      if (!Wnd || P.Wnd == Wnd) Out.push_back(P);
    return Out;
  }

  std::map<HWND, COLORREF> Client;  // client colour by window (unset: not painted)
  std::map<HWND, COLORREF> Frame;    // frame colour by window (unset: not painted)
  bool EraseHandled = true;          // answer WM_ERASEBKGND with 1 without erasing
  std::function<void(HWND, HDC)> OnPaint;
  std::vector<Painted> Log;

 private:
  void PaintFrame(HWND Wnd) {
    auto It = Frame.find(Wnd);
    if (It == Frame.end()) return;
    RECT W, C;
    GetWindowRect(Wnd, &W);
    GetClientRect(Wnd, &C);
    POINT O{0, 0};
    ClientToScreen(Wnd, &O);
    HDC Dc = GetWindowDC(Wnd);
    const int CX = O.X - W.Left, CY = O.Y - W.Top;
    ExcludeClipRect(Dc, CX, CY, CX + C.Right, CY + C.Bottom);
    const RECT Whole{0, 0, W.Right - W.Left, W.Bottom - W.Top};
    HBRUSH B = CreateSolidBrush(It->second);
    FillRect(Dc, &Whole, B);
    DeleteObject(B);
    ReleaseDC(Wnd, Dc);
  }

  MessageLog FLog;
};

// The colour (0x00RRGGBB) of a surface pixel, alpha dropped.
inline uint32_t PixelAt(const win::Surface& S, int X, int Y) { return S.Row(Y)[X] & 0xFFFFFF; }

struct PixelCase {
  int X;
  int Y;
  uint32_t Expected;  // 0x00RRGGBB
  const char* What;
};

// Checks the pixels; on a mismatch the surface is saved as <Name>.png in the test
// output folder and the failure names it.
inline void ExpectPixels(const win::Surface& S, const std::vector<PixelCase>& Cases, const std::string& Name) {
  bool Failed = false;
  for (const PixelCase& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(PixelAt(S, C.X, C.Y), C.Expected) << "at (" << C.X << ", " << C.Y << ")";
    if (PixelAt(S, C.X, C.Y) != C.Expected) Failed = true;
  }
  if (Failed) {
    const std::string File = testing::TempDir() + Name + ".png";
    if (display::SavePng(S, File)) ADD_FAILURE() << "pixels saved to " << File;
  }
}

}  // namespace vantrel::test
