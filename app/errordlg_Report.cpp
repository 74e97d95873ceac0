// Sending an error report: the relay of the settings store when one is configured (its
// credentials only ever over TLS, bounded by time-outs), else or on failure a mail link
// for the user's mail program; then the recommendation.
#include <cctype>

#include "app/MakerService.h"
#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "platform/rtl/Registry.h"
#include "platform/ui/SmtpClient.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"

namespace vantrel::app {

namespace {

constexpr Integer RelayConnectTimeout = 15000;  // ms
constexpr Integer RelaySendTimeout = 60000;     // ms for the whole dialogue
constexpr const char* ReportSeparator = "-------------------------";

bool HasAt(const String& Address) { return Address.find('@') != String::npos; }

// Mails History as the report's body; false when the relay could not take it.
bool MailReport(const TErrorRelay& Relay, const String& UserAddress, const TStrings& History) {
  TSmtpClient SMTP;
  SMTP.Url = Relay.Url;
  SMTP.Username = Relay.User;
  SMTP.Password = Relay.Password;
  SMTP.ConnectTimeout = RelayConnectTimeout;
  SMTP.Timeout = RelaySendTimeout;
  TMailMessage MailMessage;
  // The sender is an address the relay may send for; the user is answered through Reply-To.
  MailMessage.From = HasAt(Relay.User) ? Relay.User : String(SupportMailbox);
  if (HasAt(UserAddress)) MailMessage.ReplyTo = UserAddress;
  MailMessage.Subject = ErrorReportSubject;
  MailMessage.Recipients()->Add(SupportMailbox);
  MailMessage.Body()->Assign(History);
  try {
    SMTP.Connect();
    SMTP.Send(MailMessage);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void OpenDocument(HWND Owner, const String& What) {
  ShellExecute(Owner, "open", What.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SendErrorReport(TErrorForm& Form, TMainUnitState& State, const String& Msg, const String& Mark) {
  if (!State.MediaLogHistory) StartMediaLogHistory(State);
  TStringList ActionLog;
  if (LogForm) {
    ActionLog.Assign(*LogForm->mmoLog->Lines());
  } else {
    for (const String& Line : State.ActionLog) ActionLog.Add(Line);
  }
  AppendReportSections(*State.MediaLogHistory, ActionLog, Msg, Mark, Form.edName->Text(),
                       *Form.memDetails->Lines());
  const std::optional<TErrorRelay> Relay = ReadErrorRelay();
  if (Relay && MailReport(*Relay, Form.edEmail->Text(), *State.MediaLogHistory)) return;
  OpenDocument(nullptr, ErrorMailLink(SupportMailbox, Msg, Mark));
}

}  // namespace

std::optional<TErrorRelay> ReadErrorRelay() {
  try {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    if (!Reg.OpenKeyReadOnly(ErrorReportsKeyPath)) return std::nullopt;
    TErrorRelay Relay;
    Relay.Url = Reg.ReadString("SmtpUrl");
    if (Relay.Url.empty()) return std::nullopt;
    Relay.User = Reg.ReadString("SmtpUser");
    Relay.Password = Reg.ReadString("SmtpPassword");
    return Relay;
  } catch (const std::exception&) {
    // A value of another type counts as no relay: the report still reaches the link.
    return std::nullopt;
  }
}

String PercentEncodeMailText(const String& Text) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  String Out;
  for (size_t I = 0; I < Text.size(); ++I) {
    const unsigned char C = static_cast<unsigned char>(Text[I]);
    if (C == '\r' || C == '\n') {
      // Every kind of line break travels as CR LF.
      if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
      Out += "%0D%0A";
    } else if (std::isalnum(C) || C == '-' || C == '.' || C == '_' || C == '~') {
      Out += static_cast<char>(C);
    } else {
      Out += '%';
      Out += Hex[C >> 4];
      Out += Hex[C & 15];
    }
  }
  return Out;
}

String ErrorMailLink(const String& Mailbox, const String& Msg, const String& Mark) {
  return "mailto:" + Mailbox + "?subject=" + PercentEncodeMailText(ErrorReportSubject) + "&body=" +
         PercentEncodeMailText(Msg + " ;CODE LINE MARK:" + Mark + ";  YOUR COMMENT (DETAILS):");
}

void AppendReportSections(TStringList& History, const TStrings& ActionLog, const String& Msg,
                          const String& Mark, const String& UserName, const TStrings& Details) {
  History.Add(ReportSeparator);
  History.Add("ACTION HISTORY:");
  for (Integer I = 0; I < ActionLog.Count(); ++I) History.Add(ActionLog.Get(I));
  History.Add(ReportSeparator);
  History.Add("LAST ERROR MESSAGE: " + Msg);
  History.Add("CODE LINE MARK: " + Mark);
  if (!UserName.empty()) History.Add("USER NAME: " + UserName);
  if (!Details.Text().empty()) {
    History.Add("PROBLEM DETAILS:");
    for (Integer I = 0; I < Details.Count(); ++I) History.Add(Details.Get(I));
  }
}

void ShowErrorReport(TErrorForm& Form, TMainUnitState& State, const String& Msg, const String& Mark) {
  Form.lblErrorText->SetCaption(Msg);
  if (Form.ShowModal() == mrOk) SendErrorReport(Form, State, Msg, Mark);
  HWND Owner = Application->MainForm() ? Application->MainForm()->Handle() : nullptr;
  MessageBox(Owner, RecommendationText, Application->Title(), MB_OK);
  OpenDocument(Owner, RecommendationPage);
}

}  // namespace vantrel::app
