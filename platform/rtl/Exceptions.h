// The class library's exception hierarchy. Every exception carries the system's own
// message text; ClassName() gives the class's own name as the error dialogs show it.
#pragma once

#include <exception>

#include "platform/rtl/Types.h"

class Exception : public std::exception {
 public:
  explicit Exception(String Msg) : FMessage(std::move(Msg)) {}
  const String& Message() const { return FMessage; }
  void SetMessage(String Msg) { FMessage = std::move(Msg); }
  const char* what() const noexcept override { return FMessage.c_str(); }
  virtual const char* ClassName() const { return "Exception"; }

 private:
  String FMessage;
};

#define VANTREL_EXCEPTION(Name, Base)                            \
  class Name : public Base {                                     \
   public:                                                       \
    using Base::Base;                                            \
    const char* ClassName() const override { return #Name; }     \
  }

VANTREL_EXCEPTION(EAbort, Exception);
VANTREL_EXCEPTION(EConvertError, Exception);
VANTREL_EXCEPTION(EIntError, Exception);
VANTREL_EXCEPTION(EIntOverflow, EIntError);
VANTREL_EXCEPTION(EDivByZero, EIntError);
VANTREL_EXCEPTION(ERangeError, EIntError);
VANTREL_EXCEPTION(EMathError, Exception);
VANTREL_EXCEPTION(EInvalidOp, EMathError);
VANTREL_EXCEPTION(EZeroDivide, EMathError);
VANTREL_EXCEPTION(EOverflow, EMathError);
VANTREL_EXCEPTION(EOutOfMemory, Exception);
VANTREL_EXCEPTION(EInvalidPointer, Exception);
VANTREL_EXCEPTION(EInvalidCast, Exception);
VANTREL_EXCEPTION(EAccessViolation, Exception);
VANTREL_EXCEPTION(EAssertionFailed, Exception);
VANTREL_EXCEPTION(EArgumentException, Exception);
VANTREL_EXCEPTION(EArgumentOutOfRangeException, EArgumentException);
VANTREL_EXCEPTION(ENotSupportedException, Exception);
VANTREL_EXCEPTION(EOSError, Exception);
VANTREL_EXCEPTION(EExternalException, Exception);
VANTREL_EXCEPTION(EListError, Exception);
// The text of the error a list raises for an index outside it (the index fills %d).
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
VANTREL_EXCEPTION(EStringListError, Exception);
VANTREL_EXCEPTION(EStreamError, Exception);
VANTREL_EXCEPTION(EFileStreamError, EStreamError);
VANTREL_EXCEPTION(EFCreateError, EFileStreamError);
VANTREL_EXCEPTION(EFOpenError, EFileStreamError);
VANTREL_EXCEPTION(EFilerError, EStreamError);
VANTREL_EXCEPTION(EReadError, EFilerError);
VANTREL_EXCEPTION(EWriteError, EFilerError);
VANTREL_EXCEPTION(EInOutError, Exception);
VANTREL_EXCEPTION(EThread, Exception);
VANTREL_EXCEPTION(ESyncObjectException, Exception);
VANTREL_EXCEPTION(EInvalidOperation, Exception);
VANTREL_EXCEPTION(EComponentError, Exception);
VANTREL_EXCEPTION(EOutOfResources, Exception);
VANTREL_EXCEPTION(EInvalidGraphic, Exception);
VANTREL_EXCEPTION(EInvalidGraphicOperation, Exception);
VANTREL_EXCEPTION(EIniFileException, Exception);
VANTREL_EXCEPTION(ERegistryException, Exception);
VANTREL_EXCEPTION(EMenuError, Exception);
VANTREL_EXCEPTION(EInvalidGridOperation, Exception);
VANTREL_EXCEPTION(EInvalidPath, Exception);

// An error of the object layer, with its result code.
class EOleSysError : public Exception {
 public:
  EOleSysError(String Msg, int32_t ErrorCode) : Exception(std::move(Msg)), FErrorCode(ErrorCode) {}
  int32_t ErrorCode() const { return FErrorCode; }
  const char* ClassName() const override { return "EOleSysError"; }

 private:
  int32_t FErrorCode;
};
