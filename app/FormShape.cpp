// Shaping the application's dialogs.
#include "app/FormShape.h"

#include "skin/forms/FormSkin.h"

namespace vantrel::app {

TspFormSkin* ShapeForm(TForm& Form, const TFormShape& Shape, bool Draggable, bool CaptionButtons) {
  Form.SetCaption(Shape.Caption);
  Form.SetBorderStyle(Shape.Border);
  Form.SetBorderIcons({});
  Form.SetPosition(Shape.Position);
  auto* Frame = ::Create<TspFormSkin>(&Form);
  Frame->SetName("spFormSkin1");
  if (!CaptionButtons) Frame->SetBorderIcons({});
  Frame->SetSizeable(false);
  Frame->SetDraggAble(Draggable);
  // A skin brings borders of its own; the frame puts the client size back after each change.
  Frame->SetClientWidth(Shape.ClientWidth);
  Frame->SetClientHeight(Shape.ClientHeight);
  // The client size needs the window's own borders, drawn by the frame component.
  Form.HandleNeeded();
  Form.SetClientWidth(Shape.ClientWidth);
  Form.SetClientHeight(Shape.ClientHeight);
  return Frame;
}

}  // namespace vantrel::app
