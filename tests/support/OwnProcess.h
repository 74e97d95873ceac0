// For tests that need a process of their own (they read process-wide state: the library
// loader's counts, the one logger, plug-ins loaded once). ctest runs every test alone;
// when a test program runs many tests in one process, such a test starts with
//   if (vantrel::test::RanAloneInChild()) return;
// and runs again alone in a child process whose outcome becomes its own.
#pragma once

namespace vantrel::test {

// False when this process runs only the current test (go on with the test); otherwise
// runs it in a child process, fails the test when the child fails, and returns true.
bool RanAloneInChild();

}  // namespace vantrel::test
