#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "tests/support/WinMessageLog.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;
using vantrel::test::PixelAt;

namespace {

constexpr LONG_PTR kEditId = 7;

struct EditFixture {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 20, 20, 400, 300);

  HWND Make(DWORD Style, const char* Text, int W = 200, int H = 24, DWORD ExStyle = 0, int X = 10, int Y = 10) {
    HWND E = CreateWindowEx(ExStyle, "EDIT", Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Top,
                            reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
    SendMessage(E, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return E;
  }
  size_t Changes() const {
    size_t N = 0;
    for (const auto& M : const_cast<MessageLog&>(Log).Messages())
      if (M.Wnd == Top && M.Msg == WM_COMMAND && HIWORD(M.WParam) == EN_CHANGE) ++N;
    return N;
  }
  int LineHeight() {
    HDC Dc = GetDC(nullptr);
    SelectObject(Dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC Tm{};
    GetTextMetrics(Dc, &Tm);
    ReleaseDC(nullptr, Dc);
    return Tm.tmHeight;
  }
};

std::pair<DWORD, DWORD> Sel(HWND E) {
  DWORD A = 0, B = 0;
  SendMessage(E, EM_GETSEL, reinterpret_cast<WPARAM>(&A), reinterpret_cast<LPARAM>(&B));
  return {A, B};
}

std::string ClipboardText() {
  std::string Out;
  if (!OpenClipboard(nullptr)) return Out;
  if (HANDLE H = GetClipboardData(CF_UNICODETEXT)) {
    Out = static_cast<const char*>(GlobalLock(H));
    GlobalUnlock(H);
  }
  CloseClipboard();
  return Out;
}

void SetClipboardText(const std::string& Text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  std::memcpy(GlobalLock(H), Text.c_str(), Text.size() + 1);
  GlobalUnlock(H);
  SetClipboardData(CF_UNICODETEXT, H);
  CloseClipboard();
}

// A COLORREF (0x00BBGGRR) as a pixel colour (0x00RRGGBB).
uint32_t PixelColour(COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }

// The leftmost and topmost columns and rows holding a dark pixel, or -1.
POINT FirstInk(const vantrel::win::Surface& S) {
  POINT P{-1, -1};
  for (int Y = 0; Y < S.Height(); ++Y)
    for (int X = 0; X < S.Width(); ++X)
      if ((PixelAt(S, X, Y) & 0xFF) < 0x80) {
        if (P.X < 0 || X < P.X) P.X = X;
        if (P.Y < 0 || Y < P.Y) P.Y = Y;
      }
  return P;
}

}  // namespace

// The editing keys of a single-line edit, and what each sends to the parent.
TEST(Edit, EditingKeysChangeTextSelectionAndNotifyTheParent) {
  struct Case {
    const char* Name;
    const char* Start;
    int SelA, SelB;
    std::function<void(HeadlessSession&)> Keys;
    const char* Text;
    DWORD A, B;
    size_t Changes;
  } Cases[] = {
      {"Home", "hello", 3, 3, [](HeadlessSession& S) { S.Key(VK_HOME); }, "hello", 0, 0, 0},
      {"Shift+End", "hello", 1, 1, [](HeadlessSession& S) { S.Key(VK_END, MOD_SHIFT); }, "hello", 1, 5, 0},
      {"Ctrl+Left", "one two three", 13, 13, [](HeadlessSession& S) { S.Key(VK_LEFT, MOD_CONTROL); }, "one two three", 8, 8, 0},
      {"Ctrl+Right", "one two three", 0, 0, [](HeadlessSession& S) { S.Key(VK_RIGHT, MOD_CONTROL); }, "one two three", 4, 4, 0},
      {"Shift+Left", "hello", 3, 3, [](HeadlessSession& S) { S.Key(VK_LEFT, MOD_SHIFT); }, "hello", 2, 3, 0},
      {"Backspace", "hello", 5, 5, [](HeadlessSession& S) { S.Key(VK_BACK); }, "hell", 4, 4, 1},
      {"Backspace at the start", "hello", 0, 0, [](HeadlessSession& S) { S.Key(VK_BACK); }, "hello", 0, 0, 0},
      {"Delete", "hello", 0, 0, [](HeadlessSession& S) { S.Key(VK_DELETE); }, "ello", 0, 0, 1},
      {"Delete a selection", "hello", 1, 3, [](HeadlessSession& S) { S.Key(VK_DELETE); }, "hlo", 1, 1, 1},
      {"Typing over a selection", "hello", 1, 4, [](HeadlessSession& S) { S.Type("a"); }, "hao", 2, 2, 1},
      {"Typing a code point beyond ASCII", "ab", 1, 1, [](HeadlessSession& S) { S.Type("\xC3\xA9"); }, "a\xC3\xA9" "b", 2, 2, 1},
      {"Ctrl+Z undoes a typing run", "hello", 5, 5,
       [](HeadlessSession& S) {
         S.Type("ab");
         S.Key('Z', MOD_CONTROL);
       },
       "hello", 5, 5, 3},
      {"Ctrl+Z twice redoes", "hello", 5, 5,
       [](HeadlessSession& S) {
         S.Type("ab");
         S.Key('Z', MOD_CONTROL);
         S.Key('Z', MOD_CONTROL);
       },
       "helloab", 7, 7, 4},
      {"Return does nothing in one line", "hello", 5, 5, [](HeadlessSession& S) { S.Key(VK_RETURN); }, "hello", 5, 5, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EditFixture F;
    HWND E = F.Make(ES_AUTOHSCROLL, C.Start);
    SetFocus(E);
    SendMessage(E, EM_SETSEL, static_cast<WPARAM>(C.SelA), C.SelB);
    F.S.PumpUntilIdle();
    F.Log.Clear();
    C.Keys(F.S);
    F.S.PumpUntilIdle();
    EXPECT_EQ(GetWindowText(E), C.Text);
    EXPECT_EQ(Sel(E), std::make_pair(C.A, C.B));
    EXPECT_EQ(F.Changes(), C.Changes);
  }
}

TEST(Edit, CtrlASelectsTheWholeTextSoTypingReplacesIt) {
  const struct {
    const char* Name;
    DWORD Style;
    const char* Start;
    const char* Typed;
  } Cases[] = {
      {"one line", ES_AUTOHSCROLL, "hello world", "new"},
      {"several lines", ES_MULTILINE | ES_AUTOVSCROLL, "first\r\nsecond\r\nthird", "x"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EditFixture F;
    HWND E = F.Make(C.Style, C.Start, 200, 60);
    SetFocus(E);
    SendMessage(E, EM_SETSEL, 3, 3);
    F.S.PumpUntilIdle();
    F.S.Key('A', MOD_CONTROL);
    F.S.PumpUntilIdle();
    EXPECT_EQ(Sel(E), std::make_pair(DWORD{0}, static_cast<DWORD>(std::strlen(C.Start))));
    EXPECT_EQ(GetWindowText(E), C.Start) << "selecting changes nothing";
    F.S.Type(C.Typed);
    F.S.PumpUntilIdle();
    EXPECT_EQ(GetWindowText(E), C.Typed);
  }
}

TEST(Edit, SelectionRequestsAreClampedAndMinusOneDeselects) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "abc");
  SendMessage(E, EM_SETSEL, 1, 99);
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{1}, DWORD{3}));
  SendMessage(E, EM_SETSEL, 0, -1);
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{0}, DWORD{3}));
  // The largest start with a negative end: the caret after the last character.
  SendMessage(E, EM_SETSEL, 2147483647, -1);
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{3}, DWORD{3}));
  SendMessage(E, EM_SETSEL, 1, 2);
  SendMessage(E, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  const auto After = Sel(E);
  EXPECT_EQ(After.first, After.second);
}

TEST(Edit, MultiLineScrollStateFollowsLinesAndScrolling) {
  EditFixture F;
  const int LH = F.LineHeight();
  HWND E = F.Make(ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL, "", 200, 10 * LH);
  const auto Lines = [](int N) {
    std::string T;
    for (int I = 0; I < N; ++I) T += (I ? "\r\n" : "") + std::string("line ") + std::to_string(I);
    return T;
  };
  SetWindowText(E, Lines(10).c_str());
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(E, SB_VERT, &Info));
  EXPECT_EQ(Info.nMin, 0);
  EXPECT_EQ(Info.nMax, 9);
  EXPECT_EQ(Info.nPage, 10u);
  SetWindowText(E, Lines(11).c_str());
  GetScrollInfo(E, SB_VERT, &Info);
  EXPECT_EQ(Info.nMax, 10);
  EXPECT_EQ(SendMessage(E, EM_GETLINECOUNT, 0, 0), 11);
  SetWindowText(E, Lines(30).c_str());
  SendMessage(E, EM_LINESCROLL, 0, 3);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
  GetScrollInfo(E, SB_VERT, &Info);
  EXPECT_EQ(Info.nPos, 3);
  SendMessage(E, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
  // A wheel notch scrolls the system's three lines.
  SendMessage(E, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(SendMessage(E, EM_GETFIRSTVISIBLELINE, 0, 0), 8);
}

TEST(Edit, TextOfAMultiLineEditKeepsLineBreaksAsCrLf) {
  EditFixture F;
  HWND E = F.Make(ES_MULTILINE | ES_AUTOHSCROLL, "a\nb\r\nc");
  EXPECT_EQ(GetWindowText(E), "a\r\nb\r\nc");
  EXPECT_EQ(GetWindowTextLength(E), 7);
  EXPECT_EQ(SendMessage(E, EM_LINEINDEX, 2, 0), 6);
  EXPECT_EQ(SendMessage(E, EM_LINEFROMCHAR, 3, 0), 1);
  SendMessage(E, EM_SETSEL, 1, 1);
  SetFocus(E);
  F.S.Key(VK_RETURN);
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetWindowText(E), "a\r\n\r\nb\r\nc");
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{3}, DWORD{3}));
}

TEST(Edit, GetLineStaysInsideTheBufferAndKeepsCodePointsWhole) {
  EditFixture F;
  HWND E = F.Make(ES_MULTILINE | ES_AUTOHSCROLL, "x\r\n\xC3\xA9\xC3\xA9z");
  char Buffer[8];
  std::memset(Buffer, '#', sizeof Buffer);
  const WORD Size = 3;  // room for one two-byte character, not two
  std::memcpy(Buffer, &Size, sizeof Size);
  EXPECT_EQ(SendMessage(E, EM_GETLINE, 1, reinterpret_cast<LPARAM>(Buffer)), 1);
  EXPECT_EQ(std::string(Buffer, 2), "\xC3\xA9");
  EXPECT_EQ(Buffer[2], '#');
  EXPECT_EQ(Buffer[3], '#');
}

TEST(Edit, ALimitedEditTakesWhatFitsAndReportsTheLimit) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "ab");
  SendMessage(E, EM_LIMITTEXT, 4, 0);
  SendMessage(E, EM_SETSEL, 2, 2);
  SetClipboardText("cdef");
  F.Log.Clear();
  SendMessage(E, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowText(E), "abcd");
  size_t MaxText = 0;
  for (const auto& M : F.Log.Messages())
    if (M.Msg == WM_COMMAND && HIWORD(M.WParam) == EN_MAXTEXT) ++MaxText;
  EXPECT_EQ(MaxText, 1u);
  SetFocus(E);
  F.S.Type("x");
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetWindowText(E), "abcd");
}

TEST(Edit, ClipboardCommandsAndPasswords) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "hello world");
  SetFocus(E);
  SendMessage(E, EM_SETSEL, 0, 5);
  F.S.Key('C', MOD_CONTROL);
  F.S.PumpUntilIdle();
  EXPECT_EQ(ClipboardText(), "hello");
  // A single line takes a pasted text up to its first line break.
  SetClipboardText("ab\r\ncd");
  SendMessage(E, EM_SETSEL, 11, 11);
  F.S.Key('V', MOD_CONTROL);
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetWindowText(E), "hello worldab");
  SendMessage(E, EM_SETSEL, 0, 6);
  F.S.Key('X', MOD_CONTROL);
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetWindowText(E), "worldab");
  EXPECT_EQ(ClipboardText(), "hello ");

  // A password shows one password character per code point and gives nothing away.
  HWND P = F.Make(ES_PASSWORD | ES_AUTOHSCROLL, "\xC3\xA9\xE2\x82\xAC", 200, 24, 0, 10, 50);
  HWND Q = F.Make(ES_AUTOHSCROLL, "**", 200, 24, 0, 10, 90);
  EXPECT_EQ(SendMessage(P, EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(GetWindowText(P), "\xC3\xA9\xE2\x82\xAC");
  const vantrel::win::Surface Pw = F.S.Capture(P), Plain = F.S.Capture(Q);
  bool Same = Pw.Width() == Plain.Width() && Pw.Height() == Plain.Height();
  for (int Y = 0; Same && Y < Pw.Height(); ++Y)
    for (int X = 0; X < Pw.Width(); ++X) Same = Same && PixelAt(Pw, X, Y) == PixelAt(Plain, X, Y);
  EXPECT_TRUE(Same) << "the password edit does not look like one showing \"**\"";
  SetClipboardText("kept");
  SendMessage(P, EM_SETSEL, 0, -1);
  SendMessage(P, WM_COPY, 0, 0);
  SendMessage(P, WM_CUT, 0, 0);
  EXPECT_EQ(ClipboardText(), "kept");
  EXPECT_EQ(GetWindowTextLength(P), 2);
}

TEST(Edit, ParentColoursAndTransparency) {
  EditFixture F;
  bool Answer = true;
  F.Log.Handler() = [&](HWND Wnd, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Wnd != F.Top) return std::nullopt;
    if (Msg == WM_ERASEBKGND) {
      RECT R{0, 0, 400, 300};
      HBRUSH B = CreateSolidBrush(RGB(0, 0, 255));
      FillRect(reinterpret_cast<HDC>(WP), &R, B);
      DeleteObject(B);
      return 1;
    }
    if (Msg == WM_CTLCOLOREDIT && Answer) {
      SetBkMode(reinterpret_cast<HDC>(WP), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(WP), RGB(255, 0, 0));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return std::nullopt;
  };
  InvalidateRect(F.Top, nullptr, TRUE);
  HWND E = F.Make(ES_AUTOHSCROLL, "WWW", 200, 24, WS_EX_TRANSPARENT);
  vantrel::win::Surface Shot = F.S.Capture(E);
  // Glyph pixels blend red into the blue beneath; nothing is white.
  int Red = 0, Blue = 0, White = 0;
  for (int Y = 0; Y < Shot.Height(); ++Y)
    for (int X = 0; X < Shot.Width(); ++X) {
      const uint32_t C = PixelAt(Shot, X, Y);
      if (C == 0x0000FF) ++Blue;
      else if (C == 0xFFFFFF) ++White;
      else if ((C >> 16) >= 0x80 && ((C >> 8) & 0xFF) == 0) ++Red;
    }
  EXPECT_GT(Red, 10) << "no red glyph pixels";
  EXPECT_EQ(White, 0);
  EXPECT_GT(Blue, Shot.Width() * Shot.Height() / 2) << "the parent's fill does not show";
  EXPECT_EQ(PixelAt(Shot, 190, 12), 0x0000FFu);
  // Unanswered, the text rectangle gets the window colour.
  Answer = false;
  InvalidateRect(E, nullptr, TRUE);
  Shot = F.S.Capture(E);
  EXPECT_EQ(PixelAt(Shot, 190, 12), PixelColour(GetSysColor(COLOR_WINDOW)));
}

TEST(Edit, TextRectangleAndMarginsMoveTheText) {
  EditFixture F;
  HWND M = F.Make(ES_MULTILINE | ES_AUTOHSCROLL, "H", 100, 40, 0, 10, 10);
  HWND S = F.Make(ES_AUTOHSCROLL, "H", 100, 24, 0, 10, 60);
  const POINT M0 = FirstInk(F.S.Capture(M)), S0 = FirstInk(F.S.Capture(S));
  ASSERT_GE(M0.X, 0);
  RECT R{2, 2, 98, 40};
  SendMessage(M, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
  SendMessage(S, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
  InvalidateRect(M, nullptr, TRUE);
  InvalidateRect(S, nullptr, TRUE);
  const POINT M1 = FirstInk(F.S.Capture(M)), S1 = FirstInk(F.S.Capture(S));
  RECT Now{};
  SendMessage(M, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Now));
  EXPECT_EQ(Now.Left, 2);
  EXPECT_EQ(M1.X, M0.X + 2);
  EXPECT_EQ(M1.Y, M0.Y + 2);
  EXPECT_EQ(S1.X, S0.X);
  EXPECT_EQ(S1.Y, S0.Y);
  RECT Got{};
  SendMessage(S, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&Got));
  EXPECT_EQ(Got.Left, 0);
  SendMessage(S, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(2, 0));
  EXPECT_EQ(SendMessage(S, EM_GETMARGINS, 0, 0), MAKELRESULT(2, 0));
  const POINT S2 = FirstInk(F.S.Capture(S));
  EXPECT_EQ(S2.X, S0.X + 2);
}

TEST(Edit, MultiLineTextWrapsAtBlanksAndBreaksLongWords) {
  EditFixture F;
  HWND E = F.Make(ES_MULTILINE, "aaa bbb ccc", 60, 100);
  HDC Dc = GetDC(nullptr);
  SelectObject(Dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE Word{}, Two{};
  GetTextExtentPoint32(Dc, "aaa ", 4, &Word);
  GetTextExtentPoint32(Dc, "aaa bbb", 7, &Two);
  ReleaseDC(nullptr, Dc);
  // A rectangle that holds one word but not two.
  RECT R{0, 0, Word.cx + 4, 100};
  ASSERT_LT(R.Right, Two.cx);
  SendMessage(E, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(SendMessage(E, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(E, EM_LINEINDEX, 1, 0), 4);
  SetWindowText(E, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_GT(SendMessage(E, EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(GetWindowText(E), "abcdefghijklmnopqrstuvwxyz");
}

TEST(Edit, NotificationsForSetTextFocusAndDialogCodes) {
  EditFixture F;
  HWND One = F.Make(ES_AUTOHSCROLL, "");
  HWND Many = F.Make(ES_MULTILINE, "", 200, 60, 0, 10, 50);
  F.Log.Clear();
  SetWindowText(One, "x");
  EXPECT_EQ(F.Changes(), 1u);
  SetWindowText(Many, "y");
  EXPECT_EQ(F.Changes(), 1u) << "a multi-line edit sends no EN_CHANGE for WM_SETTEXT";
  EXPECT_EQ(SendMessage(One, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
  EXPECT_EQ(SendMessage(Many, WM_GETDLGCODE, 0, 0),
            DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
  F.Log.Clear();
  SetFocus(One);
  SetFocus(Many);
  std::vector<WORD> Codes;
  for (const auto& M : F.Log.Messages())
    if (M.Msg == WM_COMMAND) Codes.push_back(HIWORD(M.WParam));
  EXPECT_EQ(Codes, (std::vector<WORD>{EN_SETFOCUS, EN_KILLFOCUS, EN_SETFOCUS}));
  EXPECT_FALSE(SendMessage(One, EM_GETMODIFY, 0, 0));
  SendMessage(One, EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("z"));
  EXPECT_TRUE(SendMessage(One, EM_GETMODIFY, 0, 0));
  EXPECT_TRUE(SendMessage(One, EM_CANUNDO, 0, 0));
}

TEST(Edit, MouseSelectsByPressDragAndDoubleClick) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "alpha beta gamma", 300);
  POINT O{0, 0};
  ClientToScreen(E, &O);
  const auto At = [&](int Pos) {
    const LRESULT P = SendMessage(E, EM_POSFROMCHAR, static_cast<WPARAM>(Pos), 0);
    return POINT{O.X + GET_X_LPARAM(P), O.Y + GET_Y_LPARAM(P) + 4};
  };
  const POINT P6 = At(6), P10 = At(10);
  F.S.Press(P6.X + 1, P6.Y);
  // On the boundary before character 10 (a blank may be only three pixels wide).
  F.S.Move(P10.X, P10.Y);
  F.S.Release(P10.X, P10.Y);
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetFocus(), E);
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{6}, DWORD{10}));
  const POINT P13 = At(13);
  F.S.Press(P13.X, P13.Y);
  F.S.Release(P13.X, P13.Y);
  F.S.Press(P13.X, P13.Y);
  F.S.Release(P13.X, P13.Y);
  F.S.PumpUntilIdle();
  EXPECT_EQ(Sel(E), std::make_pair(DWORD{11}, DWORD{16}));
}

// The caret blinks in what is shown, never in the window's pixels themselves.
TEST(Edit, FocusedEditShowsABlinkingCaret) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "a    b", 200, 24);
  SetFocus(E);
  SendMessage(E, EM_SETSEL, 3, 3);
  F.S.PumpUntilIdle();
  const LRESULT P = SendMessage(E, EM_POSFROMCHAR, 3, 0);
  const int X = GET_X_LPARAM(P), Y = GET_Y_LPARAM(P) + 3;
  const uint32_t Window = PixelColour(GetSysColor(COLOR_WINDOW));
  const uint32_t Inverted = Window ^ 0xFFFFFF;
  vantrel::test::ExpectPixels(F.S.Capture(E), {{X, Y, Inverted, "caret on"}, {X + 2, Y, Window, "beside it"}}, "edit-caret-on");
  // Never in the backing store.
  vantrel::win::Surface* Store = F.S.Manager().BackingStoreOf(F.Top);
  POINT InTop{X, Y};
  MapWindowPoints(E, F.Top, &InTop, 1);
  EXPECT_EQ(PixelAt(*Store, InTop.X, InTop.Y), Window);
  // What the display shows has it too.
  const vantrel::win::Surface Screen = F.S.CaptureScreen();
  POINT OnScreen{X, Y};
  ClientToScreen(E, &OnScreen);
  EXPECT_EQ(PixelAt(Screen, OnScreen.X, OnScreen.Y), Inverted);
  F.S.Advance(500);
  vantrel::test::ExpectPixels(F.S.Capture(E), {{X, Y, Window, "caret off"}}, "edit-caret-off");
  EXPECT_EQ(PixelAt(F.S.CaptureScreen(), OnScreen.X, OnScreen.Y), Window);
  F.S.Advance(500);
  vantrel::test::ExpectPixels(F.S.Capture(E), {{X, Y, Inverted, "caret on again"}}, "edit-caret-again");
  SetFocus(F.Top);
  F.S.PumpUntilIdle();
  vantrel::test::ExpectPixels(F.S.Capture(E), {{X, Y, Window, "focus gone"}}, "edit-caret-gone");
  EXPECT_EQ(PixelAt(F.S.CaptureScreen(), OnScreen.X, OnScreen.Y), Window);
}

// A look at an edit with a selection and the caret, saved for a person to view.
TEST(Edit, CaptureOfASelectionAndCaret) {
  EditFixture F;
  HWND E = F.Make(ES_MULTILINE | ES_AUTOHSCROLL | ES_NOHIDESEL, "Selected text here\r\nsecond line", 220, 40, WS_EX_CLIENTEDGE);
  SetFocus(E);
  SendMessage(E, EM_SETSEL, 9, 13);
  const vantrel::win::Surface Shot = F.S.Capture(E);
  vantrel::display::SavePng(Shot, testing::TempDir() + "edit-selection.png");
  const LRESULT P = SendMessage(E, EM_POSFROMCHAR, 10, 0);
  // Inside the client edge: the selection's highlight colour shows somewhere on line one.
  int Highlight = 0;
  const uint32_t H = PixelColour(GetSysColor(COLOR_HIGHLIGHT));
  for (int X = 0; X < Shot.Width(); ++X)
    if (PixelAt(Shot, X, GET_Y_LPARAM(P) + 2 + 2) == H) ++Highlight;
  EXPECT_GT(Highlight, 3);
}

TEST(Edit, CaseStylesConvertWhatTheUserPutsIn) {
  EditFixture F;
  HWND Up = F.Make(ES_UPPERCASE | ES_AUTOHSCROLL, "");
  HWND Low = F.Make(ES_LOWERCASE | ES_AUTOHSCROLL, "", 200, 24, 0, 10, 50);
  SetFocus(Up);
  F.S.Type("ab\xC3\xA9");
  F.S.PumpUntilIdle();
  EXPECT_EQ(GetWindowText(Up), "AB\xC3\x89");
  SetClipboardText("MiXed");
  SendMessage(Low, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowText(Low), "mixed");
  // Text set by the program stays as it is.
  SetWindowText(Up, "keep");
  EXPECT_EQ(GetWindowText(Up), "keep");
}

TEST(Edit, ReadOnlyAndDisabledEditsAskForStaticColoursAndDisabledTextIsGrey) {
  EditFixture F;
  HWND E = F.Make(ES_AUTOHSCROLL, "MMMM");
  const auto Asked = [&](UINT Msg) {
    size_t N = 0;
    for (const auto& M : F.Log.Messages())
      if (M.Wnd == F.Top && M.Msg == Msg && reinterpret_cast<HWND>(M.LParam) == E) ++N;
    return N;
  };
  F.S.Capture(E);
  EXPECT_GT(Asked(WM_CTLCOLOREDIT), 0u);
  EXPECT_EQ(Asked(WM_CTLCOLORSTATIC), 0u);
  SendMessage(E, EM_SETREADONLY, 1, 0);
  F.S.Capture(E);
  EXPECT_GT(Asked(WM_CTLCOLORSTATIC), 0u);
  SendMessage(E, EM_SETREADONLY, 0, 0);
  EnableWindow(E, FALSE);
  F.Log.Clear();
  const vantrel::win::Surface Shot = F.S.Capture(E);
  EXPECT_GT(Asked(WM_CTLCOLORSTATIC), 0u);
  // The darkest text pixel is the grey text colour, not black.
  uint32_t Darkest = 0xFFFFFF;
  for (int Y = 0; Y < Shot.Height(); ++Y)
    for (int X = 0; X < Shot.Width(); ++X)
      if ((PixelAt(Shot, X, Y) & 0xFF) < (Darkest & 0xFF)) Darkest = PixelAt(Shot, X, Y);
  EXPECT_EQ(Darkest, PixelColour(GetSysColor(COLOR_GRAYTEXT)));
}
