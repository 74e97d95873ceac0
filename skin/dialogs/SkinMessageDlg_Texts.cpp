// The texts and answers of the message dialogs: one table per kind of entry, read from
// the skin's text table when it has one.
#include <array>

#include "skin/dialogs/SkinMessageDlg.h"

namespace {

struct MessageButtonEntry {
  const char* Name;     // of the button component
  const char* Caption;  // built in
  const char* Key;      // in the skin's text table
  TModalResult Result;
};

// Indexed by TMsgDlgBtn.
constexpr std::array<MessageButtonEntry, 12> MessageButtonTable{{
    {"Yes", "&Yes", "MSG_BTN_YES", mrYes},
    {"No", "&No", "MSG_BTN_NO", mrNo},
    {"OK", "OK", "MSG_BTN_OK", mrOk},
    {"Cancel", "Cancel", "MSG_BTN_CANCEL", mrCancel},
    {"Abort", "&Abort", "MSG_BTN_ABORT", mrAbort},
    {"Retry", "&Retry", "MSG_BTN_RETRY", mrRetry},
    {"Ignore", "&Ignore", "MSG_BTN_IGNORE", mrIgnore},
    {"All", "&All", "MSG_BTN_ALL", mrAll},
    {"NoToAll", "N&oToAll", "MSG_BTN_NOTOALL", mrNoToAll},
    {"YesToAll", "&YesToAll", "MSG_BTN_YESTOALL", mrYesToAll},
    {"Help", "&Help", "MSG_BTN_HELP", mrNone},
    {"Close", "Close", "MSG_BTN_CLOSE", mrClose},
}};

struct MessageTypeEntry {
  const char* Caption;
  const char* Key;  // none for mtCustom
};

// Indexed by TMsgDlgType.
constexpr std::array<MessageTypeEntry, 5> MessageTypeTable{{
    {"Warning", "MSG_CAP_WARNING"},
    {"Error", "MSG_CAP_ERROR"},
    {"Information", "MSG_CAP_INFORMATION"},
    {"Confirm", "MSG_CAP_CONFIRM"},
    {"", nullptr},
}};

constexpr const char* ShowAgainKey = "MSG_CAP_SHOWFLAG";
constexpr const char* ShowAgainText = "Do not display this message again";

TspResourceStrData* MessageTextTable(TspSkinData* ASkinData) {
  return ASkinData ? ASkinData->ResourceStrData() : nullptr;
}

}  // namespace

String GetButtonCaption(TMsgDlgBtn Button, TspSkinData* ASkinData) {
  const MessageButtonEntry& E = MessageButtonTable.at(static_cast<size_t>(Button));
  if (TspResourceStrData* T = MessageTextTable(ASkinData)) return T->GetResStr(E.Key);
  return E.Caption;
}

String GetDialogTypeCaption(TMsgDlgType DlgType, TspSkinData* ASkinData) {
  const MessageTypeEntry& E = MessageTypeTable.at(static_cast<size_t>(DlgType));
  if (TspResourceStrData* T = MessageTextTable(ASkinData)) return E.Key ? T->GetResStr(E.Key) : String();
  return E.Caption;
}

String GetShowAgainCaption(TspSkinData* ASkinData) {
  if (TspResourceStrData* T = MessageTextTable(ASkinData)) {
    const String S = T->GetResStr(ShowAgainKey);
    if (!S.empty()) return S;
  }
  return ShowAgainText;
}

TModalResult MessageButtonResult(TMsgDlgBtn Button) {
  return MessageButtonTable.at(static_cast<size_t>(Button)).Result;
}

String MessageButtonName(TMsgDlgBtn Button) { return MessageButtonTable.at(static_cast<size_t>(Button)).Name; }
