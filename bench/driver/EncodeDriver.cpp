// A small program on the encoder component, as the application drives it, for timing
// whole conversions against the command-line converter: one task, its input and output
// described by option lines, run in one conversion thread with the events delivered in
// the conversion threads (no GUI loop).
//
//   vantrel_encode <input> <output> [input-option-line...] -- [output-option-line...]
//
// Exit status 0 when the task finished, 1 with the error text on stderr otherwise.
#include <cstdio>
#include <string>

#include "media/FFEncode.h"
#include "media/FFLoad.h"
#include "platform/rtl/SyncObjs.h"

using namespace vantrel::media;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s input output [input-option...] -- [output-option...]\n", argv[0]);
    return 2;
  }
  String InputLines, OutputLines;
  bool Output = false;
  for (int I = 3; I < argc; ++I) {
    const String Arg = argv[I];
    if (Arg == "--") {
      Output = true;
      continue;
    }
    (Output ? OutputLines : InputLines) += Arg + "\n";
  }

  auto Encoder = CreateOwned<TFFEncoder>(nullptr);
  if (!Encoder->LoadAVLib("")) {
    std::fprintf(stderr, "%s\n", Encoder->LastErrMsg().c_str());
    return 1;
  }
  Encoder->SetTriggerEventInMainThread(false);
  TEvent Done(true, false);
  bool Finished = false;
  String Error;
  Encoder->OnTerminate = [&](TObject*, const TTerminateInfo& Info) {
    if (Info.TaskIndex >= 0) {
      Finished = Info.Finished;
      if (Info.Exception) Error = Info.ExceptionMsg;
    } else {
      Done.SetEvent();
    }
  };
  if (Encoder->AddTask(argv[1], InputLines) < 0 || !Encoder->SetOutputFile(0, argv[2], OutputLines)) {
    std::fprintf(stderr, "%s\n", Encoder->LastErrMsg().c_str());
    return 1;
  }
  Encoder->Start(1);
  Done.WaitFor(INFINITE);
  if (!Finished) {
    std::fprintf(stderr, "not finished: %s\n", Error.c_str());
    return 1;
  }
  return 0;
}
