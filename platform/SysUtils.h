// The platform's exception classes, string types and the small run-time helpers the library uses.
// Pure: no Windows header.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

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

// A syntax error in a text form; the message carries the line number.
class EParserError : public Exception {
public:
  using Exception::Exception;
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

// Conversions -------------------------------------------------------------------------------------

AnsiString IntToStr(int64_t value);
// Decimal with an optional sign, or hexadecimal after "$" or "0x"; blanks before the number are
// allowed, nothing after it. Raises EConvertError "'text' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// Text --------------------------------------------------------------------------------------------

// Trim removes blanks and control characters (anything up to ' ') from both ends.
AnsiString Trim(std::string_view text);
// Compares with the letters a to z taken as A to Z; other bytes compare by value, and a string that
// is a prefix of the other sorts first. Negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// The folder part of a path, with its trailing backslash (or drive colon); "" when there is none.
AnsiString ExtractFilePath(std::string_view fileName);

// Between 8-bit text of the system code page and UTF-16, by the system's own conversion
// (implemented in CodePages.cpp, the one part of these helpers that calls the system).
std::u16string AnsiToUtf16(std::string_view text);
AnsiString Utf16ToAnsi(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Format ------------------------------------------------------------------------------------------

// One argument of Format: an integer, a floating-point number or a text.
class TVarRec {
public:
  enum class TKind { Integer, Float, String };

  template <class T>
    requires std::is_integral_v<T>
  TVarRec(T value) : FKind(TKind::Integer), FInteger(static_cast<int64_t>(value)) {}
  TVarRec(double value) : FKind(TKind::Float), FFloat(value) {}
  TVarRec(const char* text) : FKind(TKind::String), FString(text ? text : "") {}
  TVarRec(std::string_view text) : FKind(TKind::String), FString(text) {}
  TVarRec(const AnsiString& text) : FKind(TKind::String), FString(text) {}

  TKind Kind() const { return FKind; }
  int64_t Integer() const { return FInteger; }
  double Float() const { return FFloat; }
  std::string_view String() const { return FString; }

private:
  TKind FKind;
  int64_t FInteger = 0;
  double FFloat = 0;
  std::string_view FString;
};

// Formats "%[index:][-][width][.precision]type" items, with type d (signed decimal), u (unsigned),
// x (upper-case hexadecimal), f (fixed), s (text) and "%%" for a percent sign. A missing argument
// or one of the wrong kind raises EConvertError "Format 'format' invalid or incompatible with
// argument".
AnsiString FormatArgs(std::string_view format, std::span<const TVarRec> args);

template <class... Args>
AnsiString Format(std::string_view format, const Args&... args)
{
  const TVarRec list[] = {TVarRec(args)..., TVarRec(0)};
  return FormatArgs(format, std::span<const TVarRec>(list, sizeof...(Args)));
}

// Random numbers ----------------------------------------------------------------------------------

// The process-wide linear congruential generator: seed <- seed * 134775813 + 1 (mod 2^32). It
// starts from 0 and nothing in the platform seeds it.
extern uint32_t RandSeed;
// A number from 0 to range - 1: range * seed / 2^32 of the advanced seed, rounded down. A range of
// 0 or less gives 0 (the seed still advances).
int32_t Random(int32_t range);
