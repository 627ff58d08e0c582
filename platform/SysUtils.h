// The platform's exception classes and string types.
#pragma once

#include <exception>
#include <string>



// 8-bit text in the system code page.
using AnsiString = std::string;

// The root of every error the platform and the library raise. `what()` is the message, so a
// platform exception that reaches a plain `std::exception` handler still reads well.
class Exception : public std::exception {
public:
  explicit Exception(AnsiString message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
};

// The library's own assertion error ("Assertion failure").
class EAssertionFailed : public Exception {
public:
  using Exception::Exception;
};

// A class that does not support the interface or type it was cast to.
class EInvalidCast : public Exception {
public:
  using Exception::Exception;
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};

class EOutOfMemory : public Exception {
public:
  using Exception::Exception;
};

class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

class EListError : public Exception {
public:
  using Exception::Exception;
};

class EStringListError : public Exception {
public:
  using Exception::Exception;
};

class EComponentError : public Exception {
public:
  using Exception::Exception;
};

class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

// Streams and form data.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};

class EFCreateError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EFilerError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class EReadError : public EFilerError {
public:
  using EFilerError::EFilerError;
};

class EWriteError : public EFilerError {
public:
  using EFilerError::EFilerError;
};

class EClassNotFound : public EFilerError {
public:
  using EFilerError::EFilerError;
};

// A failing Windows API call, with its error code.
class EOSError : public Exception {
public:
  EOSError(AnsiString message, unsigned long errorCode)
    : Exception(std::move(message)), ErrorCode(errorCode) {}
  unsigned long ErrorCode;
};

// COM and OLE.
class EOleError : public Exception {
public:
  using Exception::Exception;
};

class EOleSysError : public EOleError {
public:
  EOleSysError(AnsiString message, long errorCode, int helpContext = 0)
    : EOleError(std::move(message)), ErrorCode(errorCode), HelpContext(helpContext) {}
  long ErrorCode;  // the failing HRESULT
  int HelpContext;
};

// An error the control reported through its exception information (DISP_E_EXCEPTION).
class EOleException : public EOleSysError {
public:
  EOleException(AnsiString message, long errorCode, AnsiString source, AnsiString helpFile,
                int helpContext)
    : EOleSysError(std::move(message), errorCode, helpContext),
      Source(std::move(source)), HelpFile(std::move(helpFile)) {}
  AnsiString Source;
  AnsiString HelpFile;
};
