// The events log window and its stamped lines.
#include "app/log.h"

#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"

namespace vantrel::app {

TLogForm* LogForm = nullptr;

TLogForm::TLogForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Events Log");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  // The client size needs the window's own borders.
  HandleNeeded();
  SetClientSize(400, 304);

  mmoLog = ::Create<TspSkinMemo>(this);
  mmoLog->SetName("mmoLog");
  mmoLog->SetParent(this);
  mmoLog->SetBounds(8, 14, 384, 243);
  mmoLog->SetScrollBars(ssBoth);
  mmoLog->SetReadOnly(true);
  mmoLog->SetAnchors({akLeft, akTop, akRight, akBottom});
  mmoLogBars = AttachMemoScrollBars(mmoLog);

  btnOK = ::Create<TspSkinButton>(this);
  btnOK->SetName("btnOK");
  btnOK->SetParent(this);
  btnOK->SetBounds(294, 271, 84, 25);
  btnOK->SetCaption("OK");
  btnOK->SetModalResult(mrCancel);
  btnOK->SetAnchors({akRight, akBottom});

  if (!LogForm) LogForm = this;
}

TLogForm::~TLogForm() {
  if (LogForm == this) LogForm = nullptr;
}

void TLogForm::BindSkin(TspSkinData* Data) {
  mmoLog->SetSkinData(Data);
  mmoLogBars.SetSkinData(Data);
  btnOK->SetSkinData(Data);
}

void TLogForm::AddLine(const String& Line) { mmoLog->Lines()->Add(Line); }

String StampedLine(TDateTime At, const String& Text) {
  // "tt" is the long time format: hours, minutes and seconds.
  return FormatDateTime("tt", At) + "-> " + Text;
}

}  // namespace vantrel::app
