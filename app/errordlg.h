// The "Error!" window and the error report: the user may add a name, an address and
// details; "Send" mails the report through the relay configured in the settings store,
// or opens a mail link when there is none or mailing fails.
#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "app/MemoScrollBars.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

class TspFormSkin;
class TspSkinButton;
class TspSkinData;
class TspSkinEdit;
class TspSkinMemo;
class TspSkinStdLabel;
class TStringList;
class TStrings;

namespace vantrel::app {

class TErrorForm : public TForm {
  VANTREL_CLASS(TErrorForm)
  explicit TErrorForm(TComponent* AOwner);
  ~TErrorForm() override;

  TspFormSkin* spFormSkin1 = nullptr;
  TImage* Image1 = nullptr;
  TspSkinStdLabel* lblErrorText = nullptr;
  TspSkinEdit* edName = nullptr;
  TspSkinEdit* edEmail = nullptr;
  TspSkinMemo* memDetails = nullptr;
  TMemoScrollBars memDetailsBars;
  TspSkinButton* PreviewButton = nullptr;
  TspSkinButton* spSkinButton1 = nullptr;

  void FormShow(TObject* Sender);
  // Draws the frame and the controls with the application's skin.
  void BindSkin(TspSkinData* Data);

 private:
  // Wraps the error text to the window's width and makes the window as much taller as
  // the text needs, up to the screen's height; everything below the text moves down.
  void FitErrorText();

  std::vector<TspSkinStdLabel*> FLabels;
  std::vector<std::pair<TControl*, Integer>> FBelowText;  // controls under the text, own top
};

// Text broken into lines no wider than Width as Measure tells: at line breaks, between
// words, and inside a word (a path, say) too long for a line of its own, at character
// boundaries. Every line holds at least one character.
std::vector<String> WrapErrorText(const String& Text, Integer Width,
                                  const std::function<Integer(const String&)>& Measure);

// The application's error window; set while one exists.
extern TErrorForm* ErrorForm;

// The key of the mail relay for error reports under HKEY_CURRENT_USER.
inline constexpr const char* ErrorReportsKeyPath = "Software\\Quillmoor\\Vantrel\\ErrorReports";
inline constexpr const char* ErrorReportSubject = "ERROR REPORT | Vantrel";
inline constexpr const char* RecommendationText =
    "Please try more powerful and popular Corvantis Video Converter Platinum.";

struct TErrorRelay {
  String Url;
  String User;
  String Password;
};

// The relay of the settings store; none when it names no "SmtpUrl".
std::optional<TErrorRelay> ReadErrorRelay();
// Every byte but letters, digits and "-._~" as %XX, line breaks as CR LF first.
String PercentEncodeMailText(const String& Text);
// The mail link of a report: subject and body percent-encoded.
String ErrorMailLink(const String& Mailbox, const String& Msg, const String& Mark);
// Appends the report's sections to History (the body of the mail).
void AppendReportSections(TStringList& History, const TStrings& ActionLog, const String& Msg,
                          const String& Mark, const String& UserName, const TStrings& Details);

}  // namespace vantrel::app

namespace vantrel::app {

struct TMainUnitState;

// Shows the window with Msg; on "Send" mails the report (or opens its mail link); in every
// case then shows the recommendation and opens its page.
void ShowErrorReport(TErrorForm& Form, TMainUnitState& State, const String& Msg, const String& Mark);

}  // namespace vantrel::app
