// Keyboard layouts on the X11 display: the keys of French, German and Russian layouts and
// keys remapped on the fly give their characters and the virtual keys Windows gives
// them; AltGr is Ctrl+Alt and opens no menu; a dead key composes. Each layout is set on
// the server while the display is open (the display reads the new map), and the US
// layout is put back after each test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

constexpr unsigned long KbShiftL = 0xffe1, KbControlL = 0xffe3, KbAltGr = 0xfe03;

// The server's keyboard layout for the test's life; the US one again after it.
class KbLayout {
 public:
  explicit KbLayout(const std::string& Name) { Ok = std::system(("setxkbmap " + Name).c_str()) == 0; }
  ~KbLayout() { (void)std::system("setxkbmap us"); }
  KbLayout(const KbLayout&) = delete;
  KbLayout& operator=(const KbLayout&) = delete;
  bool Ok = false;
};

struct KbMsg {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// A focused top-level window that logs its key messages.
class KbWindow {
 public:
  explicit KbWindow(X11Session& S) {
    FProc = MakeWndProcInstance([this](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
      if ((Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST) || Msg == WM_SYSCOMMAND) Log.push_back({Msg, WP, LP});
      if (Msg == WM_SYSCOMMAND) return 0;
      return DefWindowProc(W, Msg, WP, LP);
    });
    WNDCLASS C{};
    C.lpfnWndProc = MakeWndProc(&DefWindowProc);
    C.lpszClassName = "X11KbLog";
    RegisterClass(&C);
    Wnd = CreateWindowEx(0, "X11KbLog", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr, nullptr,
                         nullptr);
    SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(FProc));
    Ready = PumpUntil([&] { return S.Viewable(Wnd); });
    SetForegroundWindow(Wnd);
    SetFocus(Wnd);
    Ready = Ready && PumpUntil([&] { return S.Peer.FocusWindow() == S.XWindow(Wnd); });
  }
  ~KbWindow() {
    if (IsWindow(Wnd)) DestroyWindow(Wnd);
    FreeObjectInstance(FProc);
  }
  KbWindow(const KbWindow&) = delete;
  KbWindow& operator=(const KbWindow&) = delete;

  std::u32string Chars() const {
    std::u32string Out;
    for (const KbMsg& L : Log)
      if (L.Msg == WM_CHAR) Out += static_cast<char32_t>(L.WParam);
    return Out;
  }
  int Count(UINT Msg) const {
    int N = 0;
    for (const KbMsg& L : Log) N += L.Msg == Msg;
    return N;
  }
  std::vector<WPARAM> KeysDown() const {
    std::vector<WPARAM> Out;
    for (const KbMsg& L : Log)
      if (L.Msg == WM_KEYDOWN) Out.push_back(L.WParam);
    return Out;
  }
  // Waits until the log holds N WM_CHAR, then lets the rest of the keys come.
  bool WaitForChars(size_t N) {
    const bool Got = PumpUntil([&] { return Chars().size() >= N; });
    testsupport::PumpFor(50);
    return Got;
  }

  HWND Wnd = nullptr;
  bool Ready = false;
  std::vector<KbMsg> Log;

 private:
  WNDPROC FProc = nullptr;
};

// A modifier key by its keysym in the layout in force.
void KbKey(X11Session& S, unsigned long Keysym, bool Press) {
  unsigned Code = 0;
  int Level = 0;
  if (S.Peer.FindKey(Keysym, Code, Level)) S.Peer.PressCode(Code, Press);
}

void KbTap(X11Session& S, unsigned Code) {
  S.Peer.PressCode(Code, true);
  S.Peer.PressCode(Code, false);
}

// Presses the key that gives Keysym in the layout in force, with Shift or AltGr as its
// level needs.
bool KbType(X11Session& S, unsigned long Keysym) {
  unsigned Code = 0;
  int Level = 0;
  if (!S.Peer.FindKey(Keysym, Code, Level)) return false;
  if (Level & 1) KbKey(S, KbShiftL, true);
  if (Level & 2) KbKey(S, KbAltGr, true);
  KbTap(S, Code);
  if (Level & 2) KbKey(S, KbAltGr, false);
  if (Level & 1) KbKey(S, KbShiftL, false);
  return true;
}

}  // namespace

TEST(X11Keyboard, FrenchKeysTypeTheirLettersWithTheDigitKeysAsVirtualKeys) {
  X11Session S;
  KbWindow W(S);
  ASSERT_TRUE(W.Ready);
  KbLayout Fr("fr");
  ASSERT_TRUE(Fr.Ok);
  ASSERT_EQ(S.Peer.KeysymAt(11, 0), 0xe9ul) << "the layout did not take effect: key 11 is not e-acute";
  ASSERT_EQ(S.Peer.KeysymAt(24, 0), static_cast<unsigned long>('a'));
  for (unsigned long Keysym : {0xe9ul /* e-acute */, static_cast<unsigned long>('1'), 0xe0ul /* a-grave */,
                               0xe8ul /* e-grave */, 0xe7ul /* c-cedilla */, static_cast<unsigned long>('a')})
    ASSERT_TRUE(KbType(S, Keysym));
  ASSERT_TRUE(PumpUntil([&] { return W.Chars().size() >= 6 && W.Count(WM_KEYUP) >= 6; }));
  EXPECT_EQ(W.Chars(), U"\u00e91\u00e0\u00e8\u00e7a");
  // Each key is the digit or letter its layout prints on it, as on Windows.
  const std::vector<WPARAM> Keys = W.KeysDown();
  for (WPARAM Vk : {WPARAM{'2'}, WPARAM{'1'}, WPARAM{'0'}, WPARAM{'7'}, WPARAM{'9'}, WPARAM{'A'}})
    EXPECT_NE(std::find(Keys.begin(), Keys.end(), Vk), Keys.end()) << "virtual key " << Vk;
  EXPECT_EQ(W.Count(WM_SYSKEYDOWN) + W.Count(WM_SYSCHAR), 0);
}

TEST(X11Keyboard, AltGrTypesAsCtrlAltAndNeverOpensTheMenu) {
  X11Session S;
  KbWindow W(S);
  ASSERT_TRUE(W.Ready);
  KbLayout Fr("fr");
  ASSERT_TRUE(Fr.Ok);
  ASSERT_EQ(S.Peer.KeysymAt(19, 2), static_cast<unsigned long>('@'));
  KbKey(S, KbAltGr, true);
  ASSERT_TRUE(PumpUntil([&] { return GetKeyState(VK_MENU) < 0; }));
  EXPECT_LT(GetKeyState(VK_CONTROL), 0) << "AltGr holds Ctrl too";
  KbTap(S, 19);  // the a-grave/0 key
  KbKey(S, KbAltGr, false);
  ASSERT_TRUE(W.WaitForChars(1));
  ASSERT_TRUE(PumpUntil([&] { return GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0; }));
  EXPECT_EQ(W.Chars(), U"@");
  // AltGr alone, pressed and released, is no menu key either.
  KbKey(S, KbAltGr, true);
  KbKey(S, KbAltGr, false);
  testsupport::PumpFor(100);
  EXPECT_EQ(W.Count(WM_SYSCHAR) + W.Count(WM_SYSKEYDOWN) + W.Count(WM_SYSCOMMAND), 0);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl must not stick after AltGr";
}

TEST(X11Keyboard, GermanDeadKeyComposesAndAltGrGivesTheEuro) {
  X11Session S;
  KbWindow W(S);
  ASSERT_TRUE(W.Ready);
  KbLayout De("de");
  ASSERT_TRUE(De.Ok);
  ASSERT_EQ(S.Peer.KeysymAt(49, 0), 0xfe52ul) << "the German layout's dead circumflex";
  KbTap(S, 49);
  KbType(S, 'e');
  ASSERT_TRUE(W.WaitForChars(1));
  ASSERT_TRUE(KbType(S, 0x20ac));  // the euro sign, AltGr+E
  ASSERT_TRUE(PumpUntil([&] { return W.Chars().size() >= 2; }));
  EXPECT_EQ(W.Chars(), U"\u00ea\u20ac");
}

TEST(X11Keyboard, RussianLettersTypeAndCtrlWithThemIsTheUsKey) {
  X11Session S;
  KbWindow W(S);
  ASSERT_TRUE(W.Ready);
  KbLayout Ru("ru");
  ASSERT_TRUE(Ru.Ok);
  ASSERT_EQ(S.Peer.KeysymAt(38, 0), 0x6c6ul) << "Cyrillic ef on the US A key";
  KbTap(S, 38);
  ASSERT_TRUE(W.WaitForChars(1));
  EXPECT_EQ(W.Chars(), U"\u0444");
  EXPECT_EQ(W.KeysDown(), std::vector<WPARAM>{'A'});
  KbKey(S, KbControlL, true);
  KbTap(S, 38);
  KbKey(S, KbControlL, false);
  ASSERT_TRUE(PumpUntil([&] { return W.Chars().size() >= 2; }));
  EXPECT_EQ(W.Chars().back(), U'\x01') << "Ctrl+A";
}

TEST(X11Keyboard, AKeyRemappedOnTheFlyTypesItsCharacter) {
  X11Session S;
  KbWindow W(S);
  ASSERT_TRUE(W.Ready);
  // What input tools do for a character the layout lacks: a spare key gets it for a moment.
  const unsigned Spare = S.Peer.BindSpareKey(0xe9);
  ASSERT_NE(Spare, 0u);
  ASSERT_EQ(S.Peer.KeysymAt(Spare, 0), 0xe9ul);
  KbTap(S, Spare);
  const bool Typed = PumpUntil([&] { return !W.Chars().empty(); });
  S.Peer.UnbindKey(Spare);
  ASSERT_TRUE(Typed);
  EXPECT_EQ(W.Chars(), U"\u00e9");
}
