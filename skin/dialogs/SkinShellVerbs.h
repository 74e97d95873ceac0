// The shell's context menu of one item shown over a view, one named verb run without a
// menu, and the answers a view gives to the verbs chosen in its menu.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/win/ShellContextMenu.h"
#include "skin/dialogs/SkinShellCtrls.h"

// A view that takes part in the verbs run from its context menu.
class IspShellVerbHandler {
 public:
  // Before the shell runs Verb; Handled := true keeps the shell from running it.
  virtual void ExecuteCommand(const String& Verb, Boolean& Handled) = 0;
  // After the verb was run, by the view or by the shell.
  virtual void CommandCompleted(const String& Verb, Boolean Succeeded) = 0;

 protected:
  ~IspShellVerbHandler() = default;
};

// The menu being tracked (empty when none): the views hand it their menu messages.
vantrel::win::ComPtr<IContextMenu2>& TrackedContextMenu();

// Shows the context menu of Folder's item at (X, Y) in Owner's client coordinates and runs
// the chosen command; nothing without a folder.
void ShowShellContextMenu(TWinControl* Owner, TspShellFolder* Folder, Integer X, Integer Y);
// Runs Verb on Folder's item without a menu; nothing without a folder.
void RunShellVerb(TspShellFolder* Folder, const String& Verb);
// Whether Message is a menu message of a tracked menu; it then went to the menu's
// handler and Message.Result is 0.
bool ForwardTrackedMenuMessage(TMessage& Message);
