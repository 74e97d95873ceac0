// The display of the program on an X desktop: one undecorated X window per top-level
// HWND (our own frames), pixels presented through shared memory where the server allows
// it, shapes for window regions, layered blending (by a compositing manager when one
// runs, else by us), the skin's cursors, and native child windows for the video player.
// Everything X lives in the X11*.cpp files behind this interface.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/win/Display.h"

namespace vantrel::display {

// No display can be opened: the text says why and what to do.
VANTREL_EXCEPTION(EDisplayUnavailable, Exception);

struct X11State;

class X11Display final : public win::Display {
 public:
  // Connects to the display Name (the DISPLAY variable's value). EDisplayUnavailable
  // when it cannot, or when its screen has no 24- or 32-bit TrueColor visual.
  explicit X11Display(const std::string& Name);
  ~X11Display() override;
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  const char* Name() const override { return "x11"; }
  TSize ScreenSize() const override;
  RECT WorkArea() const override;
  uint32_t DesktopColor() const override;

  void CreateNativeWindow(HWND Wnd, const RECT& ScreenRect, DWORD Style, DWORD ExStyle) override;
  void DestroyNativeWindow(HWND Wnd) override;
  void ShowNativeWindow(HWND Wnd, bool Visible) override;
  void MoveNativeWindow(HWND Wnd, const RECT& ScreenRect) override;
  void RestackNativeWindows(const std::vector<HWND>& TopFirst) override;
  void SetNativeWindowShape(HWND Wnd, const std::vector<RECT>* Shape) override;
  void SetNativeWindowAlpha(HWND Wnd, BYTE ConstantAlpha, bool PerPixel) override;
  void Present(HWND Wnd, const win::Surface& BackingStore, const RECT& Area) override;
  bool ComposeScreen(win::Surface& Out) const override;
  void SetNativeWindowText(HWND Wnd, const std::string& Text) override;
  void SetNativeWindowIcon(HWND Wnd, const std::vector<win::IconPicture>& Icon) override;
  uintptr_t NativeChildWindow(HWND Child) override;

  bool QueryPointer(POINT& Pos, unsigned& Buttons) override;
  void ActivateNativeWindow(HWND Wnd) override;
  void SetNativeCapture(HWND Top) override;
  std::unique_ptr<win::TrayArea> MakeTrayArea() override;
  void SetCursorShape(HCURSOR Cursor) override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& Text) override;
  void Beep(UINT Type) override;

  int EventFd() const override;
  void ProcessEvents(win::DisplayEvents& Events) override;
  bool EventsPending() const override;

  // For tests and tools that look at the X side: the Xlib connection (a Display*), the
  // X window of a top-level HWND (0: none made), whether shared memory presents.
  void* Connection() const;
  unsigned long XWindowOf(HWND Wnd) const;
  bool UsesSharedMemory() const;
  // The last clipboard text read from another program came in chunks.
  bool ClipboardUsedChunks() const;

 private:
  std::unique_ptr<X11State> F;
};

// The program's display: x11 on the display named by DISPLAY. EDisplayUnavailable when
// DISPLAY is not set or the display cannot be opened, with the text to show the user.
std::unique_ptr<win::Display> OpenProgramDisplay();

}  // namespace vantrel::display
