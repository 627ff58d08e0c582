// Streams over the system's objects: file handles, files and module resources.
#pragma once

#include <windows.h>
#undef RegisterClass  // the platform's own, see Classes.h

#include "platform/Streams.h"

// File open modes: one access mode, or fmCreate, combined with one sharing mode.
enum : uint32_t {
  fmCreate = 0xFF00,
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
};

// A stream over a file handle that it does not own.
class THandleStream : public TStream {
  QV_CLASS(THandleStream, TStream)
public:
  explicit THandleStream(HANDLE handle) : FHandle(handle) {}

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  // -1 when the system refuses the move.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Raises EOSError when the file cannot be resized.
  void SetSize(int64_t size) override;

  HANDLE Handle() const { return FHandle; }

protected:
  THandleStream() = default;
  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

// A stream over a file it opens and closes. Raises EFCreateError "Cannot create file "name"" or
// EFOpenError "Cannot open file "name"", followed by the system's reason.
class TFileStream : public THandleStream {
  QV_CLASS(TFileStream, THandleStream)
public:
  TFileStream(const AnsiString& fileName, uint32_t mode);
  ~TFileStream() override;

  const AnsiString& FileName() const { return FFileName; }

private:
  AnsiString FFileName;
};

// A read-only stream over a resource of a module, found by name (or number) and type, for example
// RT_RCDATA. Raises EResNotFound "Resource name not found".
class TResourceStream : public TCustomMemoryStream {
  QV_CLASS(TResourceStream, TCustomMemoryStream)
public:
  TResourceStream(HMODULE instance, const AnsiString& resName, const char* resType);
  TResourceStream(HMODULE instance, int resId, const char* resType);

  // Raises EStreamError: resources cannot be written.
  int32_t Write(const void* buffer, int32_t count) override;

private:
  void Initialize(HMODULE instance, const char* name, const AnsiString& displayName,
                  const char* resType);
};
