// The notification area on X, as desktops' trays speak it: each icon is a small window
// of ours that the owner of the system-tray selection embeds (a dock request, XEMBED
// info), painted from the icon at the size the tray gives it. Its pointer events become
// the icon's callback message, balloons go to the tray as tray messages, and a new tray
// makes every top-level window hear "TaskbarCreated" so icons are added again.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/display/X11Display.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrender.h>

namespace vantrel::display {

namespace {

// Tray opcodes and the XEMBED flag that asks the embedder to show the icon.
constexpr long TrayRequestDock = 0;
constexpr long TrayBeginMessage = 1;
constexpr long XembedMapped = 1;
// How long the tray shows a balloon (milliseconds).
constexpr UINT TrayBalloonMs = 10000;
// A tray client message carries 20 bytes of text.
constexpr size_t TrayMessageChunk = 20;

UINT TrayMouseMessage(unsigned Button, bool Press, bool Double) {
  switch (Button) {
    case Button1: return Double ? WM_LBUTTONDBLCLK : Press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case Button2: return Double ? WM_MBUTTONDBLCLK : Press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case Button3: return Double ? WM_RBUTTONDBLCLK : Press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return 0;  // the wheel and other buttons
  }
}

}  // namespace

X11TrayArea::X11TrayArea(X11State& State) : S(State) {
  const std::string Selection = "_NET_SYSTEM_TRAY_S" + std::to_string(S.Screen);
  const char* Names[] = {Selection.c_str(), "_NET_SYSTEM_TRAY_OPCODE", "MANAGER", "_XEMBED_INFO",
                         "_NET_SYSTEM_TRAY_MESSAGE_DATA", "_NET_SYSTEM_TRAY_VISUAL"};
  Atom Got[6];
  XInternAtoms(S.Dpy, const_cast<char**>(Names), 6, False, Got);
  FSelection = Got[0];
  FOpcode = Got[1];
  FManager = Got[2];
  FXembedInfo = Got[3];
  FMessageData = Got[4];
  FTrayVisual = Got[5];
  S.Tray = this;
}

X11TrayArea::~X11TrayArea() {
  if (S.Tray == this) S.Tray = nullptr;
  X11ErrorTrap Trap(S.Dpy);
  for (IconWindow& I : FIcons) XDestroyWindow(S.Dpy, I.Xid);
}

::Window X11TrayArea::TrayOwner() const { return XGetSelectionOwner(S.Dpy, FSelection); }

X11TrayArea::IconWindow* X11TrayArea::FindIcon(::Window Xid) {
  for (IconWindow& I : FIcons)
    if (I.Xid == Xid) return &I;
  return nullptr;
}

bool X11TrayArea::Dock(IconWindow& I, ::Window Tray) {
  X11ErrorTrap Trap(S.Dpy);
  // The tray may ask for a visual of its own (one with alpha, so icons blend).
  Visual* Vis = S.Vis;
  int Depth = S.Depth;
  Colormap Cmap = S.Cmap;
  Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  if (XGetWindowProperty(S.Dpy, Tray, FTrayVisual, 0, 1, False, XA_VISUALID, &Type, &Format, &Count, &After, &Data) ==
          Success &&
      Data && Format == 32 && Count == 1 && S.ArgbVis &&
      XVisualIDFromVisual(S.ArgbVis) == static_cast<VisualID>(*reinterpret_cast<const long*>(Data))) {
    Vis = S.ArgbVis;
    Depth = 32;
    Cmap = S.ArgbCmap;
  }
  if (Data) XFree(Data);
  XSetWindowAttributes Attr{};
  unsigned long Mask = CWEventMask | CWColormap | CWBorderPixel;
  Attr.event_mask =
      ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ExposureMask | StructureNotifyMask;
  Attr.colormap = Cmap;
  Attr.border_pixel = 0;
  if (Vis == S.ArgbVis) {
    Attr.background_pixel = 0;  // clear: the tray shows through
    Mask |= CWBackPixel;
  } else {
    Attr.background_pixmap = ParentRelative;  // the tray's own background
    Mask |= CWBackPixmap;
  }
  I.Vis = Vis;
  I.Xid = XCreateWindow(S.Dpy, S.Root, 0, 0, static_cast<unsigned>(I.Width), static_cast<unsigned>(I.Height), 0, Depth,
                        InputOutput, Vis, Mask, &Attr);
  if (Trap.Sync() != 0 || !I.Xid) return false;
  const long Info[2] = {0, XembedMapped};
  XChangeProperty(S.Dpy, I.Xid, FXembedInfo, FXembedInfo, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Info), 2);
  XClassHint Class{const_cast<char*>("vantrel"), const_cast<char*>("Vantrel")};
  XSetClassHint(S.Dpy, I.Xid, &Class);
  // The tray going away takes our icons with it.
  XSelectInput(S.Dpy, Tray, StructureNotifyMask);
  XClientMessageEvent M{};
  M.type = ClientMessage;
  M.window = Tray;
  M.message_type = FOpcode;
  M.format = 32;
  M.data.l[0] = CurrentTime;
  M.data.l[1] = TrayRequestDock;
  M.data.l[2] = static_cast<long>(I.Xid);
  XSendEvent(S.Dpy, Tray, False, NoEventMask, reinterpret_cast<XEvent*>(&M));
  if (Trap.Sync() != 0) {  // the tray went away meanwhile
    XDestroyWindow(S.Dpy, I.Xid);
    return false;
  }
  FTray = Tray;
  return true;
}

void X11TrayArea::SetTitle(const IconWindow& I, const std::string& Tip) {
  // Trays that show a tip show the icon window's name.
  XChangeProperty(S.Dpy, I.Xid, S.A.NetWmName, S.A.Utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Tip.data()), static_cast<int>(Tip.size()));
  XStoreName(S.Dpy, I.Xid, Tip.c_str());
}

void X11TrayArea::ShowBalloon(const IconWindow& I, const win::TrayIcon& Icon) {
  if (Icon.Info.empty() || !FTray) return;
  const std::string Text = Icon.InfoTitle.empty() ? Icon.Info : Icon.InfoTitle + "\n" + Icon.Info;
  X11ErrorTrap Trap(S.Dpy);
  XClientMessageEvent M{};
  M.type = ClientMessage;
  M.window = I.Xid;
  M.message_type = FOpcode;
  M.format = 32;
  M.data.l[0] = CurrentTime;
  M.data.l[1] = TrayBeginMessage;
  M.data.l[2] = static_cast<long>(TrayBalloonMs);
  M.data.l[3] = static_cast<long>(Text.size());
  M.data.l[4] = FNextBalloon++;
  XSendEvent(S.Dpy, FTray, False, NoEventMask, reinterpret_cast<XEvent*>(&M));
  for (size_t At = 0; At < Text.size(); At += TrayMessageChunk) {
    XClientMessageEvent D{};
    D.type = ClientMessage;
    D.window = I.Xid;
    D.message_type = FMessageData;
    D.format = 8;
    std::memcpy(D.data.b, Text.data() + At, std::min(TrayMessageChunk, Text.size() - At));
    XSendEvent(S.Dpy, FTray, False, NoEventMask, reinterpret_cast<XEvent*>(&D));
  }
  Trap.Sync();
}

void X11TrayArea::Paint(IconWindow& I) {
  const win::TrayIcon* Icon = FTable.Find(I.Wnd, I.Id);
  X11ErrorTrap Trap(S.Dpy);
  XClearWindow(S.Dpy, I.Xid);
  int W = 0, H = 0, HotX = 0, HotY = 0;
  std::vector<uint32_t> Pixels = Icon && Icon->Icon ? X11IconPixels(Icon->Icon, W, H, HotX, HotY) : std::vector<uint32_t>{};
  XRenderPictFormat* SourceFormat = XRenderFindStandardFormat(S.Dpy, PictStandardARGB32);
  XRenderPictFormat* WindowFormat = XRenderFindVisualFormat(S.Dpy, I.Vis);
  if (Pixels.empty() || !SourceFormat || !WindowFormat) return;
  Pixmap Pix = XCreatePixmap(S.Dpy, S.Root, static_cast<unsigned>(W), static_cast<unsigned>(H), 32);
  XImage* Img = XCreateImage(S.Dpy, nullptr, 32, ZPixmap, 0, reinterpret_cast<char*>(Pixels.data()),
                             static_cast<unsigned>(W), static_cast<unsigned>(H), 32, W * 4);
  Img->byte_order = LSBFirst;
  GC Gc = XCreateGC(S.Dpy, Pix, 0, nullptr);
  XPutImage(S.Dpy, Pix, Gc, Img, 0, 0, 0, 0, static_cast<unsigned>(W), static_cast<unsigned>(H));
  XFreeGC(S.Dpy, Gc);
  Img->data = nullptr;  // the vector keeps its pixels
  XDestroyImage(Img);
  const Picture Source = XRenderCreatePicture(S.Dpy, Pix, SourceFormat, 0, nullptr);
  const Picture Target = XRenderCreatePicture(S.Dpy, I.Xid, WindowFormat, 0, nullptr);
  // As large as the tray's square allows, centred, smoothly scaled.
  const int Side = std::max(1, std::min(I.Width, I.Height));
  XTransform Scale{{{XDoubleToFixed(static_cast<double>(W) / Side), 0, 0},
                    {0, XDoubleToFixed(static_cast<double>(H) / Side), 0},
                    {0, 0, XDoubleToFixed(1)}}};
  XRenderSetPictureTransform(S.Dpy, Source, &Scale);
  XRenderSetPictureFilter(S.Dpy, Source, const_cast<char*>(FilterBest), nullptr, 0);
  XRenderComposite(S.Dpy, PictOpOver, Source, 0, Target, 0, 0, 0, 0, (I.Width - Side) / 2, (I.Height - Side) / 2,
                   static_cast<unsigned>(Side), static_cast<unsigned>(Side));
  XRenderFreePicture(S.Dpy, Target);
  XRenderFreePicture(S.Dpy, Source);
  XFreePixmap(S.Dpy, Pix);
}

bool X11TrayArea::Notify(DWORD Message, const NOTIFYICONDATAW& Data) {
  const ::Window Tray = TrayOwner();
  if (Message == NIM_ADD && !Tray) return false;  // no tray to show it in
  const win::TrayIcon* Before = FTable.Find(Data.Wnd, Data.uID);
  const HICON OldIcon = Before ? Before->Icon : nullptr;
  const std::string OldTip = Before ? Before->Tip : std::string();
  if (!FTable.Apply(Message, Data)) return false;
  auto It = std::find_if(FIcons.begin(), FIcons.end(),
                         [&](const IconWindow& I) { return I.Wnd == Data.Wnd && I.Id == Data.uID; });
  if (Message == NIM_DELETE) {
    if (It != FIcons.end()) {
      XDestroyWindow(S.Dpy, It->Xid);
      FIcons.erase(It);
      XFlush(S.Dpy);
    }
    return true;
  }
  const win::TrayIcon& Icon = *FTable.Find(Data.Wnd, Data.uID);
  if (Message == NIM_ADD) {
    IconWindow I;
    I.Wnd = Data.Wnd;
    I.Id = Data.uID;
    I.Width = I.Height = std::max(16, GetSystemMetrics(SM_CXSMICON));
    if (!Dock(I, Tray)) {
      NOTIFYICONDATAW Gone = Data;
      FTable.Apply(NIM_DELETE, Gone);
      return false;
    }
    FIcons.push_back(I);
    It = FIcons.end() - 1;
    SetTitle(*It, Icon.Tip);
  } else if (It != FIcons.end()) {
    if (Icon.Tip != OldTip) SetTitle(*It, Icon.Tip);
    if (Icon.Icon != OldIcon) Paint(*It);
  }
  if (It != FIcons.end() && (Data.uFlags & NIF_INFO)) ShowBalloon(*It, Icon);
  XFlush(S.Dpy);
  return true;
}

void X11TrayArea::Pointer(IconWindow& I, const XEvent& E) {
  const win::TrayIcon* Icon = FTable.Find(I.Wnd, I.Id);
  if (!Icon || !Icon->CallbackMessage) return;
  UINT Mouse = 0;
  if (E.type == MotionNotify) {
    Mouse = WM_MOUSEMOVE;
  } else {
    const XButtonEvent& B = E.xbutton;
    const bool Press = E.type == ButtonPress;
    bool Double = false;
    if (Press) {
      // The second press of a button soon enough and near enough is a double click.
      Double = B.button == I.LastButton && B.time - I.LastPressTime <= GetDoubleClickTime() &&
               std::abs(B.x_root - I.LastX) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(B.y_root - I.LastY) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
      I.LastButton = Double ? 0 : B.button;
      I.LastPressTime = B.time;
      I.LastX = B.x_root;
      I.LastY = B.y_root;
    }
    Mouse = TrayMouseMessage(B.button, Press, Double);
  }
  if (Mouse) PostMessage(I.Wnd, Icon->CallbackMessage, I.Id, static_cast<LPARAM>(Mouse));
}

void X11TrayArea::DropIcons() {
  // Windows the tray took down with it are gone already.
  X11ErrorTrap Trap(S.Dpy);
  for (IconWindow& I : FIcons) XDestroyWindow(S.Dpy, I.Xid);
  FIcons.clear();
  FTable = win::TrayIconTable();
  FTray = 0;
  XFlush(S.Dpy);
}

bool X11TrayArea::HandleEvent(const XEvent& E) {
  if (E.type == ClientMessage && E.xclient.window == S.Root && E.xclient.message_type == FManager &&
      static_cast<Atom>(E.xclient.data.l[1]) == FSelection) {
    // The announcement of the tray our icons went to (it may come after they did) says
    // nothing new.
    if (FTray && static_cast<::Window>(E.xclient.data.l[2]) == FTray) return true;
    // A new tray: icons shown in an old one are gone; their windows add them again.
    DropIcons();
    win::PostTaskbarCreated();
    return true;
  }
  if (E.type == DestroyNotify && FTray && E.xdestroywindow.window == FTray) {
    DropIcons();  // the tray went away with our icons
    return true;
  }
  IconWindow* I = FindIcon(E.xany.window);
  if (!I) return false;
  switch (E.type) {
    case Expose:
      if (E.xexpose.count == 0) Paint(*I);
      break;
    case ConfigureNotify:
      if (E.xconfigure.width != I->Width || E.xconfigure.height != I->Height) {
        I->Width = E.xconfigure.width;
        I->Height = E.xconfigure.height;
        Paint(*I);
      }
      break;
    case ButtonPress:
    case ButtonRelease:
    case MotionNotify: Pointer(*I, E); break;
    default: break;
  }
  return true;
}

}  // namespace vantrel::display
