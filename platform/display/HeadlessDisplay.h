// The off-screen display: keeps a record of every native window (place, visibility,
// stacking, shape, alpha) and the pixels last presented, so tests can read what a
// person would see. Input comes from the test through HeadlessSession.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/Display.h"

namespace vantrel::display {

class HeadlessDisplay final : public win::Display {
 public:
  static constexpr int DefaultWidth = 1280;
  static constexpr int DefaultHeight = 800;
  static constexpr int TaskbarHeight = 40;  // the work area leaves this much at the bottom
  static constexpr uint32_t DefaultDesktopColor = 0x3A6EA5;

  HeadlessDisplay(int Width = DefaultWidth, int Height = DefaultHeight);

  struct NativeWindow {
    RECT Rect{};
    DWORD Style = 0;
    DWORD ExStyle = 0;
    bool Visible = false;
    BYTE Alpha = 255;
    bool PerPixelAlpha = false;
    std::optional<std::vector<RECT>> Shape;
    std::unique_ptr<win::Surface> Presented;  // what the screen shows of it
    std::vector<win::IconPicture> Icon;         // what a task list would show for it
    int PresentCount = 0;
  };

  const char* Name() const override { return "headless"; }
  TSize ScreenSize() const override { return {FWidth, FHeight}; }
  // The screen less the taskbar, unless a test set another (the whole screen stands for
  // a taskbar that hides itself).
  RECT WorkArea() const override { return FWorkArea ? *FWorkArea : RECT{0, 0, FWidth, FHeight - TaskbarHeight}; }
  void SetWorkArea(const RECT& R) { FWorkArea = R; }
  void ResetWorkArea() { FWorkArea.reset(); }
  uint32_t DesktopColor() const override { return DefaultDesktopColor; }

  void CreateNativeWindow(HWND Wnd, const RECT& ScreenRect, DWORD Style, DWORD ExStyle) override;
  void DestroyNativeWindow(HWND Wnd) override;
  void ShowNativeWindow(HWND Wnd, bool Visible) override;
  void MoveNativeWindow(HWND Wnd, const RECT& ScreenRect) override;
  void RestackNativeWindows(const std::vector<HWND>& TopFirst) override;
  void SetNativeWindowShape(HWND Wnd, const std::vector<RECT>* Shape) override;
  void SetNativeWindowAlpha(HWND Wnd, BYTE ConstantAlpha, bool PerPixel) override;
  void SetNativeWindowIcon(HWND Wnd, const std::vector<win::IconPicture>& Icon) override;
  void Present(HWND Wnd, const win::Surface& BackingStore, const RECT& Area) override;
  // The desktop colour, then the visible windows bottom to top, each cut to its shape
  // and blended by its alpha (HeadlessCompose.cpp).
  bool ComposeScreen(win::Surface& Out) const override;

  void SetCursorShape(HCURSOR Cursor) override { CursorShape = Cursor; }
  void Beep(UINT Type) override { Beeps.push_back(Type); }

  // What tests read.
  HCURSOR CursorShape = nullptr;
  std::vector<UINT> Beeps;  // MessageBeep calls, in order
  const NativeWindow* Native(HWND Wnd) const;
  const std::vector<HWND>& Stacking() const { return FStacking; }

 private:
  int FWidth;
  int FHeight;
  std::optional<RECT> FWorkArea;
  std::map<HWND, NativeWindow> FWindows;
  std::vector<HWND> FStacking;  // topmost first
};

}  // namespace vantrel::display
