// What the painting layer keeps per window (update region, pending frame and erase, open
// window DCs, window region, layered state, scroll state) and the calls the window
// manager makes into it: installing the paint seams, window placement and re-parenting,
// and the dispatch of WM_PAINT.
#pragma once

#include <optional>
#include <vector>

#include "platform/win/Regions.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

// One standard scroll bar's state.
struct ScrollBarState {
  bool Exists = false;  // set once, or the window has the bar's style
  int Min = 0;
  int Max = 0;
  UINT Page = 0;
  int Pos = 0;
};

// A DC made on a window, kept so its clip follows the window tree.
struct WindowDcRec {
  HDC Dc = nullptr;
  bool Client = true;            // GetDC / BeginPaint: client area; GetWindowDC: whole window
  std::optional<Region> Limit;   // BeginPaint: the painted area, client coordinates
  int PaintDepth = 0;            // BeginPaint: the WM_PAINT dispatch it was taken in
  Region Clip;                   // its last visible area, top-level coordinates
};

struct WindowPaintData {
  WindowPaintData() = default;
  // Frees the owned window region and detaches the DCs still open on the window.
  ~WindowPaintData();
  WindowPaintData(const WindowPaintData&) = delete;
  WindowPaintData& operator=(const WindowPaintData&) = delete;

  Region Update;  // client coordinates
  bool ErasePending = false;
  bool FramePending = false;
  int PaintDepth = 0;      // WM_PAINT dispatches under way
  bool Validated = false;  // the current WM_PAINT dispatch validated (BeginPaint, Validate*)
  std::vector<WindowDcRec> Dcs;

  HRGN WindowRgn = nullptr;  // owned, window coordinates

  // Layered top-level windows.
  bool AttributesSet = false;  // SetLayeredWindowAttributes
  BYTE Alpha = 255;
  bool UpdateLayered = false;  // contents from UpdateLayeredWindow
  bool PerPixel = false;
  // Top-level windows: what the display was last told, and the area still to present
  // (window coordinates).
  BYTE ShownAlpha = 255;
  bool ShownPerPixel = false;
  Region Dirty;

  ScrollBarState Horz;
  ScrollBarState Vert;
};

// The window's data, made on first use.
WindowPaintData& PaintDataOf(Window* W);
// The window's region or nullptr.
const Region* WindowShape(const Window* W);
// True while W shows contents given by UpdateLayeredWindow (no WM_PAINT then).
bool ShowsLayeredContents(const Window* W);

Window* TopLevelOf(Window* W);
// Where W's window (or client) origin lies in its top-level window's backing store.
POINT OffsetInTop(const WindowManager& M, const Window* W, bool Client);
// The part of W's window (Client: its client area) that shows, in top-level coordinates;
// empty when W or an ancestor is hidden.
Region VisibleRegion(const WindowManager& M, Window* W, bool Client, bool ClipChildren);

// A DC on W (Client: its client area) kept clipped to what shows; Limit (client
// coordinates) narrows a paint DC, taken in WM_PAINT dispatch PaintDepth.
HDC MakeWindowDc(WindowManager& M, Window* W, bool Client, std::optional<Region> Limit, int PaintDepth);
// Deletes a DC made by MakeWindowDc (Paint: one of BeginPaint's) and has what it could
// draw on presented; false for any other DC.
bool EndWindowDc(WindowManager& M, HDC Dc, bool Paint);

// W's children in the order they are painted.
std::vector<Window*> ChildrenInPaintOrder(const Window* W);
// Invalidation and validation with RedrawWindow's flags; Area in W's client coordinates
// (nullptr: the whole window, frame included).
void RedrawTree(WindowManager& M, Window* W, const Region* Area, UINT Flags);
// Sends what is due to W now: WM_NCPAINT, then WM_PAINT; Children: then theirs.
void UpdateNow(WindowManager& M, Window* W, bool Children);
// WM_NCPAINT and WM_ERASEBKGND when due, without WM_PAINT.
void EraseNow(WindowManager& M, Window* W);
// The top-level's area to present (top-level coordinates).
void MarkDirty(Window* Top, const Region& Area);
// Presents every top-level's dirty area, after telling the display about changed alpha.
void PresentDirty(WindowManager& M);
// Re-clips the DCs open on the windows of Top's tree (after geometry changes).
void RefreshWindowDcs(const WindowManager& M, Window* Top);
void RefreshAllWindowDcs(const WindowManager& M);

// Window manager hooks.
void InstallPainting(WindowManager& M);
void RemovePainting(WindowManager& M);
// After SetWindowPos changed W (OldRect in the parent's client coordinates).
void AfterWindowPlaced(WindowManager& M, Window* W, const RECT& OldRect, bool WasVisible, UINT Flags);
void AfterParentChanged(WindowManager& M, Window* W, Window* OldParent);
// Delivers a WM_PAINT: a paint left open is ended and, when the handler validated
// nothing (it threw, or ignored the message), the area it was sent for is validated, so
// the loop never repaints forever.
LRESULT DispatchPaint(WindowManager& M, Window* W, WPARAM WParam, LPARAM LParam);
// DefWindowProc's painting messages; true when Msg is one of them.
bool DefPaintMessage(WindowManager& M, Window* W, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);

}  // namespace vantrel::win
