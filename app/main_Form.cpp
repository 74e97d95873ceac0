// The main window: its frame and skin, and the creation steps run after every window of
// the application exists.
#include "app/FormShape.h"
#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "media/MyUtils.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

constexpr TFormShape MainFormShape = {"Vantrel", bsSingle, 792, 449, poScreenCenter};

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  spSkinData1 = ::Create<TspSkinData>(this);
  spSkinData1->SetName("spSkinData1");
  spFormSkin1 = ShapeForm(*this, MainFormShape, false);
  CreatePreview();
  FFLogger = ::Create<media::TFFLogger>(this);
  FFLogger->OnLog = [](TObject*, Cardinal AThreadID, media::TLogLevel ALogLevel, const String& ALogMsg) {
    FFLoggerLog(MainUnit(), AThreadID, ALogLevel, ALogMsg);
  };
}

void TMainForm::FormCreate(TObject*) {
  TMainUnitState& State = MainUnit();
  // A missing skin file leaves the windows drawn without a skin.
  spSkinData1->LoadFromFile(GetExeFolder() + "skin-laconic/skin.ini");
  spFormSkin1->SetSkinData(spSkinData1);
  // The skin's borders differ from the plain ones; the client area keeps its size.
  SetClientWidth(MainFormShape.ClientWidth);
  SetClientHeight(MainFormShape.ClientHeight);
  if (LogForm) LogForm->BindSkin(spSkinData1);
  if (ErrorForm) ErrorForm->BindSkin(spSkinData1);
  Application->SetTitle("Vantrel");
  SetCaption("Vantrel");
  StartMediaLogHistory(State);
}

}  // namespace vantrel::app
