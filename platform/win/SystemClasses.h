// The window classes every window manager starts with: the native controls (one table
// entry each), registered for the whole process as global classes.
#pragma once

namespace vantrel::win {

class WindowManager;

// Registers the table's classes on a new window manager.
void RegisterSystemClasses(WindowManager& M);

}  // namespace vantrel::win
