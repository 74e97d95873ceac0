// A second X connection that plays another program: it reads what the server shows and
// knows of our windows. No Xlib in this header, so tests can use the class library's
// names (Xlib's Screen would clash with ours).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

namespace vantrel::x11test {

class X11Peer {
 public:
  X11Peer();
  ~X11Peer();
  X11Peer(const X11Peer&) = delete;
  X11Peer& operator=(const X11Peer&) = delete;

  bool Viewable(unsigned long W);
  bool Unmapped(unsigned long W);
  bool Exists(unsigned long W);
  bool OverrideRedirect(unsigned long W);
  // The window's corner on the screen, and its place and size in its parent.
  POINT RootOrigin(unsigned long W);
  RECT Geometry(unsigned long W);
  unsigned long Parent(unsigned long W);
  unsigned long TransientFor(unsigned long W);  // 0: none
  std::string ClassName(unsigned long W);
  std::string Utf8Property(unsigned long W, const char* Name);
  // A 32-bit property as numbers (atoms and cardinals); empty when absent.
  std::vector<long> Property(unsigned long W, const char* Name, const char* Type);
  unsigned long AtomOf(const char* Name);
  // The bounding (Input false) or input shape.
  std::vector<RECT> Shape(unsigned long W, bool Input);

  // Pixels as the server shows them (0x00RRGGBB).
  uint32_t ScreenPixel(int X, int Y);
  std::vector<uint32_t> WindowPixels(unsigned long W, int Width, int Height);

  void SetRootCardinals(const char* Name, const std::vector<long>& Values);
  void DeleteRootProperty(const char* Name);
  // Makes the server report the whole window as exposed to whoever selects exposure.
  void ExposeAll(unsigned long W);

  // Input as a person gives it (XTest).
  void MovePointer(int X, int Y);
  void Button(unsigned Button, bool Press);
  void Key(unsigned long Keysym, bool Press);
  void SetAutoRepeat(unsigned DelayMs, unsigned IntervalMs);
  // A key by its server key code.
  void PressCode(unsigned Code, bool Press);
  // The keysym a key gives at a level (0 plain, 1 Shift, 2 AltGr, 3 AltGr+Shift) in the
  // keyboard map in force now (read afresh, so a layout set meanwhile counts).
  unsigned long KeysymAt(unsigned Code, int Level);
  // The key code and level that give Keysym in the map in force; false when none does.
  bool FindKey(unsigned long Keysym, unsigned& Code, int& Level);
  // Binds Keysym alone to a key code that has none, as input tools do for a character the
  // layout lacks; returns that code (0: no spare one). UnbindKey gives it back.
  unsigned BindSpareKey(unsigned long Keysym);
  void UnbindKey(unsigned Code);
  // A window of the other program at R, shown; optionally given the focus.
  unsigned long OpenWindow(RECT R, bool TakeFocus);
  unsigned long FocusWindow();
  // GrabSuccess (0), AlreadyGrabbed (1), ...
  int TryGrabPointer();

  // The clipboard as another program uses it. ReadClipboard waits up to 5 s for the
  // owner (run it on a thread of its own while the GUI thread pumps); Chunked tells
  // whether the text came in INCR chunks.
  std::string ReadClipboard(const char* Target, bool& Chunked);
  // Owns the clipboard with Text and answers requests (in INCR chunks above 64 KB)
  // until Stop is set; Answer false: owns it and never answers.
  void ServeClipboard(const std::string& Text, bool Answer, const bool& Stop);
  // Plays the desktop's clipboard manager: owns CLIPBOARD_MANAGER (Ready is set then),
  // waits up to TimeoutMs for a program's SAVE_TARGETS request, copies the clipboard's
  // UTF8_STRING (through MULTIPLE when asked) and answers that it has it. The copy;
  // "<no request>" when none came.
  std::string KeepClipboard(std::atomic<bool>& Ready, bool ThroughMultiple, int TimeoutMs);
  // Drags a text/uri-list from this program over the X window Target to the root point
  // (X, Y) and drops it there when it is accepted (run it on a thread of its own).
  struct DragResult {
    bool StatusCame = false;
    bool Accepted = false;  // XdndStatus
    bool Finished = false;
    bool FinishedAccepted = false;  // XdndFinished
    bool SentInChunks = false;      // the list went in INCR chunks (above 64 KB)
  };
  DragResult DragFiles(unsigned long Target, int X, int Y, const std::string& List);
  // Plays the desktop's tray: a shown window at R owning the system-tray selection,
  // announced on the root (MANAGER); returns the window.
  unsigned long BecomeTray(RECT R);
  // Waits up to TimeoutMs for a dock request and embeds the icon window it names (24 x 24
  // at the tray's corner, shown); returns that window, 0 when none came.
  unsigned long AcceptDock(int TimeoutMs);
  // The text of the next balloon sent to the tray; empty when none came in time.
  std::string ReadBalloon(int TimeoutMs);
  // The tray goes away (its window is destroyed).
  void EndTray();
  // True once a text was sent in chunks by ServeClipboard.
  bool ServedInChunks() const { return FServedChunks; }

 private:
  void* FDpy;
  bool FServedChunks = false;
  unsigned long FTray = 0;
};

}  // namespace vantrel::x11test
