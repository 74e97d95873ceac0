// TCustomMemo: a multi-line EDIT window, and its Lines, a string list that reads and
// writes the memo's text (line breaks CR LF in the text).
#include "platform/ui/Edits.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"

namespace {

constexpr const char* kMemoBreak = "\r\n";

// The memo's text as lines; a text ending in a line break has no empty last line.
std::vector<String> MemoSplit(const String& Text) {
  std::vector<String> Out;
  size_t P = 0;
  while (P < Text.size()) {
    const size_t E = Text.find_first_of("\r\n", P);
    if (E == String::npos) {
      Out.push_back(Text.substr(P));
      break;
    }
    Out.push_back(Text.substr(P, E - P));
    P = E + ((Text[E] == '\r' && E + 1 < Text.size() && Text[E + 1] == '\n') ? 2 : 1);
  }
  return Out;
}

String MemoJoin(const std::vector<String>& Lines) {
  String Out;
  for (const String& L : Lines) Out += L + kMemoBreak;
  return Out;
}

class TMemoStrings : public TStrings {
  VANTREL_CLASS(TMemoStrings)
  explicit TMemoStrings(TCustomMemo* AMemo) : FMemo(AMemo) {}

  Integer Count() const override { return static_cast<Integer>(MemoSplit(FMemo->Text()).size()); }
  String Get(Integer Index) const override {
    const std::vector<String> L = MemoSplit(FMemo->Text());
    if (Index < 0 || Index >= static_cast<Integer>(L.size())) Error("List index out of bounds (%d)", Index);
    return L[static_cast<size_t>(Index)];
  }
  void Put(Integer Index, const String& S) override {
    std::vector<String> L = MemoSplit(FMemo->Text());
    if (Index < 0 || Index >= static_cast<Integer>(L.size())) Error("List index out of bounds (%d)", Index);
    L[static_cast<size_t>(Index)] = S;
    FMemo->SetText(MemoJoin(L));
  }
  void Insert(Integer Index, const String& S) override {
    std::vector<String> L = MemoSplit(FMemo->Text());
    if (Index < 0 || Index > static_cast<Integer>(L.size())) Error("List index out of bounds (%d)", Index);
    L.insert(L.begin() + Index, S);
    FMemo->SetText(MemoJoin(L));
  }
  void Delete(Integer Index) override {
    std::vector<String> L = MemoSplit(FMemo->Text());
    if (Index < 0 || Index >= static_cast<Integer>(L.size())) Error("List index out of bounds (%d)", Index);
    L.erase(L.begin() + Index);
    FMemo->SetText(MemoJoin(L));
  }
  void Clear() override { FMemo->SetText(""); }
  // The text goes in as given, its line breaks made CR LF.
  void SetText(const String& Value) override {
    String T;
    for (size_t I = 0; I < Value.size(); ++I) {
      if (Value[I] == '\r') {
        T += kMemoBreak;
        if (I + 1 < Value.size() && Value[I + 1] == '\n') ++I;
      } else if (Value[I] == '\n') {
        T += kMemoBreak;
      } else {
        T += Value[I];
      }
    }
    FMemo->SetText(T);
  }

 private:
  TCustomMemo* FMemo;
};

}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSize(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomMemo::SetLines(TStrings* Value) {
  if (Value) FLines->Assign(*Value);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(Boolean Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  if (FWordWrap) Params.Style &= ~ES_AUTOHSCROLL;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == VK_RETURN && !FWantReturns) Key = 0;
}

void TCustomMemo::WMGetDlgCode(TWMNoParams& Message) {
  TCustomEdit::WMGetDlgCode(Message);
  if (FWantTabs)
    Message.Result() |= DLGC_WANTTAB;
  else
    Message.Result() &= ~DLGC_WANTTAB;
  if (!FWantReturns) Message.Result() &= ~DLGC_WANTALLKEYS;
}
