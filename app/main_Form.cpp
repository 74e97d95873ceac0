// The main window: its frame and skin, and the components it is made of.
#include "app/FormShape.h"
#include "app/main.h"
#include "media/FFEncode.h"
#include "media/MyUtils.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"

namespace vantrel::app {

namespace {

constexpr TFormShape MainFormShape = {"Vantrel", bsSingle, 792, 449, poScreenCenter};

}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner), ProgramFolder(GetExeFolder()) {
  spSkinData1 = ::Create<TspSkinData>(this);
  spSkinData1->SetName("spSkinData1");
  spSkinData1->SetShowLayeredBorders(true);
  spSkinData1->SetEnableSkinEffects(true);
  spSkinData1->SetAeroBlurEnabled(true);
  spSkinData1->SetShowButtonGlowFrames(true);
  spSkinData1->SetShowCaptionButtonGlowFrames(true);
  // The frame keeps its caption buttons: the main window minimizes, maximizes and rolls up.
  spFormSkin1 = ShapeForm(*this, MainFormShape, false, true);
  spFormSkin1->SetSkinData(spSkinData1);

  spSkinHint1 = ::Create<TspSkinHint>(this);
  spSkinHint1->SetName("spSkinHint1");
  spSkinHint1->SetSkinData(spSkinData1);
  spSkinHint1->SetActive(true);
  SkinMessage = ::Create<TspSkinMessage>(this);
  SkinMessage->SetName("SkinMessage");
  SkinMessage->SetSkinData(spSkinData1);
  SkinMessage->SetCtrlSkinData(spSkinData1);
  dlgopen = ::Create<TspSkinOpenDialog>(this);
  dlgopen->SetName("dlgopen");
  dlgopen->SetTitle("Open file");
  dlgopen->SetMultiSelection(true);
  dlgopen->SetCheckFileExists(true);
  spSkinSelectDirectoryDialog1 = ::Create<TspSkinSelectDirectoryDialog>(this);
  spSkinSelectDirectoryDialog1->SetName("spSkinSelectDirectoryDialog1");
  spSkinSelectDirectoryDialog1->SetTitle("Select folder");
  dlgopen->SetSkinData(spSkinData1);
  dlgopen->SetCtrlSkinData(spSkinData1);
  spSkinSelectDirectoryDialog1->SetSkinData(spSkinData1);
  spSkinSelectDirectoryDialog1->SetCtrlSkinData(spSkinData1);
  RunOpenDialog = [this](std::vector<String>& Files) {
    if (!dlgopen->Execute()) return false;
    for (Integer I = 0; I < dlgopen->Files()->Count(); ++I) Files.push_back(dlgopen->Files()->Get(I));
    // A name typed in the name box, with no row of the list selected, is the one file chosen.
    if (Files.empty() && !dlgopen->FileName().empty()) Files.push_back(dlgopen->FileName());
    return true;
  };

  Tarnwell = ::Create<media::TFFEncoder>(this);
  Tarnwell->SetName("Tarnwell");
  FFLogger = ::Create<media::TFFLogger>(this);
  FFLogger->SetName("FFLogger");
  FFLogger->OnLog = [](TObject*, Cardinal AThreadID, media::TLogLevel ALogLevel, const String& ALogMsg) {
    FFLoggerLog(MainUnit(), AThreadID, ALogLevel, ALogMsg);
  };

  CreateImageLists();
  CreateMenus();
  CreateButtons();
  CreateFileList();
  CreateBottomPanel();
  CreatePreview();
  OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
  BindFileListAndJob();
}

void TMainForm::SetSkinEffects(Boolean Value) {
  spSkinData1->SetEnableSkinEffects(Value);
  spSkinData1->SetAeroBlurEnabled(Value);
  spSkinData1->SetShowLayeredBorders(Value);
  spSkinData1->SetShowButtonGlowFrames(Value);
}

}  // namespace vantrel::app
