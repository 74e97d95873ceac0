// What the editing dialogs need of the main window
#include "app/EditorHost.h"

#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"

namespace vantrel::app {

bool EditorLeftButtonDown() {
  const int Button = vantrel::win::IsMouseButtonSwapped() ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(Button) & 0x8000) != 0;
}

}  // namespace vantrel::app
