// Shell_NotifyIconW, the icon table and the recording tray.
#include "platform/win/TrayArea.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

// Bytes of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t TraySequenceLength(unsigned char Lead) {
  if (Lead >= 0xF0 && Lead < 0xF8) return 4;
  if (Lead >= 0xE0) return Lead < 0xF0 ? 3 : 1;
  if (Lead >= 0xC0) return 2;
  return 1;
}

// The longest prefix of S with at most MaxChars whole characters.
std::string TrayCutText(const std::string& S, size_t MaxChars) {
  size_t I = 0, Chars = 0;
  while (I < S.size() && Chars < MaxChars) {
    const size_t Len = TraySequenceLength(static_cast<unsigned char>(S[I]));
    if (I + Len > S.size()) break;  // a character cut by the field's end
    I += Len;
    ++Chars;
  }
  return S.substr(0, I);
}

}  // namespace

std::string NotifyFieldText(const char* Field, size_t Size, size_t MaxChars) {
  const size_t Len = static_cast<size_t>(std::find(Field, Field + Size, '\0') - Field);
  return TrayCutText(std::string(Field, Len), MaxChars);
}

void SetNotifyField(char* Field, size_t Size, size_t MaxChars, const std::string& Text) {
  if (Size == 0) return;
  std::string Cut = TrayCutText(Text.substr(0, Text.find('\0')), MaxChars);
  while (Cut.size() >= Size) Cut = TrayCutText(Cut, Utf8Length(Cut) - 1);
  std::memcpy(Field, Cut.data(), Cut.size());
  std::memset(Field + Cut.size(), 0, Size - Cut.size());
}

bool TrayIconTable::Apply(DWORD Message, const NOTIFYICONDATAW& Data) {
  auto It = std::find_if(FIcons.begin(), FIcons.end(),
                         [&](const TrayIcon& I) { return I.Wnd == Data.Wnd && I.Id == Data.uID; });
  switch (Message) {
    case NIM_ADD:
      if (It != FIcons.end() || !Data.Wnd) return false;
      FIcons.emplace_back();
      FIcons.back().Wnd = Data.Wnd;
      FIcons.back().Id = Data.uID;
      It = FIcons.end() - 1;
      break;
    case NIM_MODIFY:
      if (It == FIcons.end()) return false;
      break;
    case NIM_DELETE:
      if (It == FIcons.end()) return false;
      FIcons.erase(It);
      return true;
    default:
      return false;
  }
  TrayIcon& Icon = *It;
  if (Data.uFlags & NIF_MESSAGE) Icon.CallbackMessage = Data.uCallbackMessage;
  if (Data.uFlags & NIF_ICON) Icon.Icon = Data.hIcon;
  if (Data.uFlags & NIF_TIP) Icon.Tip = NotifyFieldText(Data.szTip, sizeof Data.szTip, NOTIFY_TIP_CHARS);
  if (Data.uFlags & NIF_INFO) {
    Icon.Info = NotifyFieldText(Data.szInfo, sizeof Data.szInfo, NOTIFY_INFO_CHARS);
    Icon.InfoTitle = NotifyFieldText(Data.szInfoTitle, sizeof Data.szInfoTitle, NOTIFY_INFOTITLE_CHARS);
    Icon.InfoFlags = Data.dwInfoFlags;
  }
  return true;
}

const TrayIcon* TrayIconTable::Find(HWND Wnd, UINT Id) const {
  for (const TrayIcon& I : FIcons)
    if (I.Wnd == Wnd && I.Id == Id) return &I;
  return nullptr;
}

bool RecordingTrayArea::Click(HWND Wnd, UINT Id, UINT MouseMessage) {
  const TrayIcon* Icon = Table.Find(Wnd, Id);
  if (!Icon || !Icon->CallbackMessage) return false;
  return PostMessage(Wnd, Icon->CallbackMessage, Id, MouseMessage);
}

void RecordingTrayArea::AnnounceNewTray() {
  Table = TrayIconTable();
  PostTaskbarCreated();
}

void PostTaskbarCreated() {
  WindowManager* M = WindowManager::OnGui();
  if (!M) return;
  const UINT Msg = RegisterWindowMessage("TaskbarCreated");
  std::vector<HWND> Targets;
  for (const Window* W : M->TopLevels()) Targets.push_back(W->Handle);
  for (HWND H : Targets) PostMessage(H, Msg, 0, 0);
}

}  // namespace vantrel::win

BOOL Shell_NotifyIconW(DWORD Message, const NOTIFYICONDATAW* Data) {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::OnGui();
  if (!M || !Data) return FALSE;
  return M->Shell().Tray().Notify(Message, *Data) ? TRUE : FALSE;
}
