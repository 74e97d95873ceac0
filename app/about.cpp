// The window of the "About" dialog: the product, its version and the maker's links
#include "app/about.h"

#include "app/FormShape.h"
#include "app/MakerService.h"
#include "platform/ui/StdCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

constexpr Integer AboutClientHeight = 260;

// The notice as designed; its last line gets the maker's name and a closing sentence.
constexpr const char* NoticeLines[] = {
    "This program is protected by copyright law.",
    "Copying or passing on the program or any part",
    "of it without permission is not allowed.",
    "Copyright (c)",
};

}  // namespace

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"About", bsDialog, 334, AboutClientHeight, poMainFormCenter}, false);
  OnShow = [this](TObject* Sender) { FormShow(Sender); };

  LogoPanel = ::Create<TspSkinPanel>(this);
  LogoPanel->SetName("LogoPanel");
  LogoPanel->SetParent(this);
  LogoPanel->SetBounds(8, 8, 318, 64);
  lblProgramName = ::Create<TLabel>(this);
  lblProgramName->SetName("lblProgramName");
  lblProgramName->SetParent(LogoPanel);
  lblProgramName->SetAutoSize(false);
  lblProgramName->SetBounds(0, 18, 318, 28);
  lblProgramName->SetAlignment(taCenter);
  lblProgramName->Font()->SetHeight(-21);
  lblProgramName->Font()->SetStyle({fsBold});
  lblProgramName->SetTransparent(true);

  lblversion = ::Create<TLabel>(this);
  lblversion->SetName("lblversion");
  lblversion->SetParent(this);
  lblversion->SetAutoSize(false);
  lblversion->SetBounds(176, 76, 150, 16);
  lblversion->SetAlignment(taRightJustify);
  lblversion->SetTransparent(true);

  spSkinPanel2 = ::Create<TspSkinPanel>(this);
  spSkinPanel2->SetName("spSkinPanel2");
  spSkinPanel2->SetParent(this);
  spSkinPanel2->SetBounds(8, 96, 318, 122);
  lblWarning = ::Create<TspSkinTextLabel>(this);
  lblWarning->SetName("lblWarning");
  lblWarning->SetParent(spSkinPanel2);
  lblWarning->SetBounds(8, 6, 302, 66);
  for (const char* Line : NoticeLines) lblWarning->Lines()->Add(Line);

  auto MakeLink = [this](const char* Caption, const char* Name, Integer Top, TspSkinStdLabel*& CaptionLabel,
                         TspSkinLinkLabel*& Link) {
    CaptionLabel = ::Create<TspSkinStdLabel>(this);
    CaptionLabel->SetParent(spSkinPanel2);
    CaptionLabel->SetLeft(8);
    CaptionLabel->SetTop(Top);
    CaptionLabel->SetCaption(Caption);
    Link = ::Create<TspSkinLinkLabel>(this);
    Link->SetName(Name);
    Link->SetParent(spSkinPanel2);
    Link->SetLeft(80);
    Link->SetTop(Top);
  };
  MakeLink("Home page:", "lblHomePage", 78, lblHomePageCaption, lblHomePage);
  MakeLink("Support:", "lblSupport", 98, lblSupportCaption, lblSupport);

  PreviewButton = ::Create<TspSkinButton>(this);
  PreviewButton->SetName("PreviewButton");
  PreviewButton->SetParent(this);
  PreviewButton->SetBounds(251, 228, 75, 25);
  PreviewButton->SetCaption("OK");
  PreviewButton->OnClick = [this](TObject* Sender) { PreviewButtonClick(Sender); };

  FormCreate(this);
}

void TAboutForm::FormCreate(TObject*) {
  lblversion->SetCaption("Version 1.0");
  TStrings* Notice = lblWarning->Lines();
  Notice->Put(3, Notice->Get(3) + " " + MakerName + ". All rights reserved.");
  lblHomePage->SetCaption(MakerSite);
  lblHomePage->SetURL(MakerSite);
  lblSupport->SetCaption(SupportMailbox);
  lblSupport->SetURL(String("mailto:") + SupportMailbox);
  lblProgramName->SetCaption("Vantrel");
}

void TAboutForm::FormShow(TObject*) { SetClientHeight(AboutClientHeight); }

void TAboutForm::PreviewButtonClick(TObject*) { Close(); }

void TAboutForm::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  LogoPanel->SetSkinData(Data);
  spSkinPanel2->SetSkinData(Data);
  lblWarning->SetSkinData(Data);
  lblHomePageCaption->SetSkinData(Data);
  lblHomePage->SetSkinData(Data);
  lblSupportCaption->SetSkinData(Data);
  lblSupport->SetSkinData(Data);
  PreviewButton->SetSkinData(Data);
}

}  // namespace vantrel::app
