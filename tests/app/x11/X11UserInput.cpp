// The pointer and the keyboard of the user-level tests: XTest events, which the X server
// takes as coming from the real devices, so the program sees what a person's hands give.
// Text goes through the keyboard map in force: a character is the key (and level) that
// carries it, or a dead key and a base key the locale's compose rules join into it.
#include "tests/app/x11/X11ProgramRun.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

namespace vantrel::x11apptest {

namespace {

std::pair<int, int> OnRoot(Display* Dpy, Window W, int X, int Y) {
  int RX = 0, RY = 0;
  Window Child = 0;
  XTranslateCoordinates(Dpy, W, DefaultRootWindow(Dpy), X, Y, &RX, &RY, &Child);
  return {RX, RY};
}

void Button(Display* Dpy, unsigned AButton, bool APress) {
  XTestFakeButtonEvent(Dpy, AButton, APress ? True : False, CurrentTime);
  XSync(Dpy, False);
  if (APress || AButton < 1 || AButton > 5) return;
  // A window manager that takes clicks into windows (to focus and raise them) holds the
  // pointer's events until it lets the click through; keys are not held meanwhile, so
  // keys sent now could reach the program before the click. The release has passed once
  // the server shows the button up.
  const unsigned Mask = Button1Mask << (AButton - 1);
  WaitUntil(
      [&] {
        Window Root = 0, Child = 0;
        int RX = 0, RY = 0, WX = 0, WY = 0;
        unsigned State = 0;
        XQueryPointer(Dpy, DefaultRootWindow(Dpy), &Root, &Child, &RX, &RY, &WX, &WY, &State);
        return (State & Mask) == 0;
      },
      10);
}

void Key(Display* Dpy, KeyCode ACode, bool APress) {
  XTestFakeKeyEvent(Dpy, ACode, APress ? True : False, CurrentTime);
  XSync(Dpy, False);
}

// One key of the map with the modifier keys held for its level.
struct TStroke {
  KeyCode Code = 0;
  std::vector<KeyCode> Held;
};

void Type(Display* Dpy, const TStroke& S) {
  for (KeyCode M : S.Held) Key(Dpy, M, true);
  Key(Dpy, S.Code, true);
  Key(Dpy, S.Code, false);
  for (auto M = S.Held.rbegin(); M != S.Held.rend(); ++M) Key(Dpy, *M, false);
}

// The code points of UTF-8 text; a malformed sequence ends it with U+FFFD.
std::vector<uint32_t> CodePoints(const std::string& AUtf8) {
  std::vector<uint32_t> Out;
  for (size_t I = 0; I < AUtf8.size();) {
    const auto Lead = static_cast<unsigned char>(AUtf8[I]);
    const int Length = Lead < 0x80 ? 1 : (Lead >> 5) == 6 ? 2 : (Lead >> 4) == 14 ? 3 : (Lead >> 3) == 30 ? 4 : 0;
    if (Length == 0 || I + Length > AUtf8.size()) {
      Out.push_back(0xFFFD);
      break;
    }
    uint32_t C = Length == 1 ? Lead : Lead & (0x7F >> Length);
    for (int K = 1; K < Length; ++K) C = (C << 6) | (static_cast<unsigned char>(AUtf8[I + K]) & 0x3F);
    Out.push_back(C);
    I += Length;
  }
  return Out;
}

bool IsDeadKeysym(KeySym S) { return S >= XK_dead_grave && S <= 0xfe8f; }
bool IsKeypadKeysym(KeySym S) { return S >= XK_KP_Space && S <= XK_KP_9; }

// The layout in force as the keys it offers: each character with the cheapest way to type
// it (a main-block key before the keypad, fewer modifiers first), and the dead keys.
class TKeyboardMap {
 public:
  explicit TKeyboardMap(Display* Dpy) {
    XkbDescPtr Xkb = XkbGetMap(Dpy, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (!Xkb) return;
    XkbStateRec State{};
    XkbGetState(Dpy, XkbUseCoreKbd, &State);
    FindModifierKeys(Dpy, Xkb);
    for (int Code = Xkb->min_key_code; Code <= Xkb->max_key_code; ++Code) {
      const int Groups = XkbKeyNumGroups(Xkb, Code);
      if (Groups == 0) continue;
      const int Group = State.group % Groups;
      const XkbKeyTypePtr KeyType = XkbKeyKeyType(Xkb, Code, Group);
      for (int Level = 0; Level < XkbKeyGroupWidth(Xkb, Code, Group); ++Level) {
        const KeySym Sym = XkbKeySymEntry(Xkb, Code, Level, Group);
        if (Sym == NoSymbol) continue;
        FKeyOf.emplace(Sym, static_cast<KeyCode>(Code));
        std::vector<KeyCode> Held;
        if (!HeldForLevel(KeyType, Level, Held)) continue;
        const TStroke S{static_cast<KeyCode>(Code), Held};
        if (IsDeadKeysym(Sym)) {
          if (!FDead.count(Sym)) FDead[Sym] = S;
          continue;
        }
        const uint32_t Char = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(Sym));
        if (Char == 0) continue;
        const int Cost = (IsKeypadKeysym(Sym) ? 10 : 0) + static_cast<int>(Held.size());
        auto Found = FDirect.find(Char);
        if (Found == FDirect.end() || Cost < Found->second.Cost) FDirect[Char] = {S, Sym, Cost};
      }
    }
    XkbFreeKeyboard(Xkb, 0, True);
  }

  // The first key that carries ASym at any level, 0 when none does.
  KeyCode KeyOf(KeySym ASym) const {
    const auto Found = FKeyOf.find(ASym);
    return Found == FKeyOf.end() ? 0 : Found->second;
  }

  // The strokes that type AChar, empty when this layout cannot.
  std::vector<TStroke> StrokesFor(uint32_t AChar) {
    if (AChar == '\n') AChar = '\r';  // Return
    if (auto Found = FDirect.find(AChar); Found != FDirect.end()) return {Found->second.Stroke};
    if (!FComposedFound) FindComposed();
    if (auto Found = FComposed.find(AChar); Found != FComposed.end()) return Found->second;
    return {};
  }

 private:
  struct TDirect {
    TStroke Stroke;
    KeySym Sym = NoSymbol;
    int Cost = 0;
  };

  // A key whose first keysym is one of ASyms and which the core modifier map binds to a
  // modifier: that modifier's bit gets the key.
  void FindModifierKeys(Display* Dpy, XkbDescPtr Xkb) {
    XModifierKeymap* Mods = XGetModifierMapping(Dpy);
    if (!Mods) return;
    for (int Mod = 0; Mod < 8; ++Mod)
      for (int I = 0; I < Mods->max_keypermod; ++I) {
        const KeyCode Code = Mods->modifiermap[Mod * Mods->max_keypermod + I];
        if (Code == 0 || XkbKeyNumGroups(Xkb, Code) == 0) continue;
        const KeySym Sym = XkbKeySymEntry(Xkb, Code, 0, 0);
        const bool Usable = (Mod == ShiftMapIndex && (Sym == XK_Shift_L || Sym == XK_Shift_R)) ||
                            (Mod > Mod1MapIndex && Sym == XK_ISO_Level3_Shift);
        if (Usable && FModifierKey[Mod] == 0) FModifierKey[Mod] = Code;
      }
    XFreeModifiermap(Mods);
  }

  // The modifier keys that select ALevel of a key of AType (none for the first level);
  // false when that level needs a modifier no key here gives (Lock, Control, ...).
  bool HeldForLevel(XkbKeyTypePtr AType, int ALevel, std::vector<KeyCode>& AHeld) const {
    if (ALevel == 0) return true;
    bool Found = false;
    for (int E = 0; E < AType->map_count; ++E) {
      const XkbKTMapEntryRec& Entry = AType->map[E];
      if (!Entry.active || Entry.level != ALevel) continue;
      std::vector<KeyCode> Held;
      bool Usable = true;
      for (int Mod = 0; Mod < 8 && Usable; ++Mod)
        if (Entry.mods.mask & (1u << Mod)) {
          Usable = FModifierKey[Mod] != 0;
          Held.push_back(FModifierKey[Mod]);
        }
      if (Usable && (!Found || Held.size() < AHeld.size())) {
        AHeld = Held;
        Found = true;
      }
    }
    return Found;
  }

  // What each dead key of the layout makes of each key that follows it, by the compose
  // rules of the locale (the ones an input method applies).
  void FindComposed() {
    FComposedFound = true;
    const char* Locale = std::getenv("LC_ALL");
    if (!Locale || !*Locale) Locale = std::getenv("LC_CTYPE");
    if (!Locale || !*Locale) Locale = std::getenv("LANG");
    if (!Locale || !*Locale) Locale = "C";
    xkb_context* Context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!Context) return;
    xkb_compose_table* Table = xkb_compose_table_new_from_locale(Context, Locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
    if (Table) {
      xkb_compose_state* State = xkb_compose_state_new(Table, XKB_COMPOSE_STATE_NO_FLAGS);
      for (const auto& [DeadSym, DeadStroke] : FDead)
        for (const auto& [BaseChar, Base] : FDirect) {
          xkb_compose_state_reset(State);
          xkb_compose_state_feed(State, static_cast<xkb_keysym_t>(DeadSym));
          xkb_compose_state_feed(State, static_cast<xkb_keysym_t>(Base.Sym));
          if (xkb_compose_state_get_status(State) != XKB_COMPOSE_COMPOSED) continue;
          char Text[16] = {};
          xkb_compose_state_get_utf8(State, Text, sizeof Text);
          const std::vector<uint32_t> Chars = CodePoints(Text);
          if (Chars.size() == 1 && !FDirect.count(Chars[0]) && !FComposed.count(Chars[0]))
            FComposed[Chars[0]] = {DeadStroke, Base.Stroke};
        }
      xkb_compose_state_unref(State);
      xkb_compose_table_unref(Table);
    }
    xkb_context_unref(Context);
  }

  KeyCode FModifierKey[8] = {};
  std::map<uint32_t, TDirect> FDirect;
  std::map<KeySym, TStroke> FDead;
  std::map<KeySym, KeyCode> FKeyOf;
  std::map<uint32_t, std::vector<TStroke>> FComposed;
  bool FComposedFound = false;
};

KeyCode CodeFor(const TKeyboardMap& AMap, const std::string& AName) {
  const KeySym Sym = XStringToKeysym(AName.c_str());
  if (Sym == NoSymbol) throw std::invalid_argument("no keysym called " + AName);
  const KeyCode Code = AMap.KeyOf(Sym);
  if (Code == 0) throw std::invalid_argument("no key carries " + AName);
  return Code;
}

}  // namespace

void MovePointerTo(Display* Dpy, Window W, int X, int Y) {
  const auto [RX, RY] = OnRoot(Dpy, W, X, Y);
  XTestFakeMotionEvent(Dpy, -1, RX, RY, CurrentTime);
  XSync(Dpy, False);
}

void ClickAt(Display* Dpy, Window W, int X, int Y, unsigned AButton) {
  MovePointerTo(Dpy, W, X, Y);
  Button(Dpy, AButton, true);
  Button(Dpy, AButton, false);
}

void DoubleClickAt(Display* Dpy, Window W, int X, int Y) {
  ClickAt(Dpy, W, X, Y);
  Button(Dpy, 1, true);
  Button(Dpy, 1, false);
}

void DragFromTo(Display* Dpy, Window W, int X0, int Y0, int X1, int Y1) {
  constexpr int Steps = 10;
  MovePointerTo(Dpy, W, X0, Y0);
  Button(Dpy, 1, true);
  for (int Step = 1; Step <= Steps; ++Step) {
    // A person's hand takes a moment between moves; the program sees each one.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    MovePointerTo(Dpy, W, X0 + (X1 - X0) * Step / Steps, Y0 + (Y1 - Y0) * Step / Steps);
  }
  Button(Dpy, 1, false);
}

void TurnWheel(Display* Dpy, Window W, int X, int Y, int Notches) {
  MovePointerTo(Dpy, W, X, Y);
  const unsigned WheelButton = Notches > 0 ? 5 : 4;
  for (int N = 0; N < std::abs(Notches); ++N) {
    Button(Dpy, WheelButton, true);
    Button(Dpy, WheelButton, false);
  }
}

void PressKeys(Display* Dpy, const std::string& AChord) {
  static const std::map<std::string, std::string> ModifierKeys = {
      {"ctrl", "Control_L"}, {"shift", "Shift_L"}, {"alt", "Alt_L"}, {"altgr", "ISO_Level3_Shift"}};
  // The last part is the key; "+" alone or at the end after a separator is the plus key.
  std::string Rest = AChord, KeyName;
  if (Rest == "+" || (Rest.size() > 2 && Rest.ends_with("++"))) {
    KeyName = "plus";
    Rest = Rest.size() > 1 ? Rest.substr(0, Rest.size() - 2) : "";
  } else {
    const size_t Last = Rest.rfind('+');
    KeyName = Last == std::string::npos ? Rest : Rest.substr(Last + 1);
    Rest = Last == std::string::npos ? "" : Rest.substr(0, Last);
  }
  std::vector<std::string> Parts;
  for (size_t Start = 0; !Rest.empty();) {
    const size_t End = Rest.find('+', Start);
    Parts.push_back(Rest.substr(Start, End == std::string::npos ? std::string::npos : End - Start));
    if (End == std::string::npos) break;
    Start = End + 1;
  }
  Parts.push_back(KeyName);
  const TKeyboardMap Map(Dpy);
  std::vector<KeyCode> Codes;
  for (size_t I = 0; I < Parts.size(); ++I) {
    std::string Name = Parts[I];
    if (I + 1 < Parts.size()) {
      std::string Lower = Name;
      std::transform(Lower.begin(), Lower.end(), Lower.begin(), [](unsigned char C) { return std::tolower(C); });
      const auto Modifier = ModifierKeys.find(Lower);
      if (Modifier == ModifierKeys.end()) throw std::invalid_argument("no modifier called " + Name + " in " + AChord);
      Name = Modifier->second;
    }
    Codes.push_back(CodeFor(Map, Name));
  }
  for (KeyCode C : Codes) Key(Dpy, C, true);
  for (auto C = Codes.rbegin(); C != Codes.rend(); ++C) Key(Dpy, *C, false);
}

bool TypeText(Display* Dpy, const std::string& AUtf8) {
  TKeyboardMap Map(Dpy);
  for (uint32_t Char : CodePoints(AUtf8)) {
    const std::vector<TStroke> Strokes = Map.StrokesFor(Char);
    if (Strokes.empty()) return false;
    for (const TStroke& S : Strokes) Type(Dpy, S);
  }
  return true;
}

}  // namespace vantrel::x11apptest
