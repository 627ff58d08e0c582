#include "platform/FileStreams.h"

namespace {

// The system's text for an error code, without its trailing line break.
AnsiString SysErrorMessage(DWORD code)
{
  char* text = nullptr;
  const DWORD length = FormatMessageA(
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
    nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  AnsiString message =
    length ? Trim(std::string_view(text, length)) : Format("System error %u", code);
  LocalFree(text);
  return message;
}

DWORD ShareMode(uint32_t mode)
{
  switch (mode & 0xF0) {
  case fmShareDenyWrite: return FILE_SHARE_READ;
  case fmShareDenyRead: return FILE_SHARE_WRITE;
  case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  default: return 0;
  }
}

}  // namespace

// THandleStream -----------------------------------------------------------------------------------

int32_t THandleStream::Read(void* buffer, int32_t count)
{
  DWORD transferred = 0;
  if (count <= 0 || !ReadFile(FHandle, buffer, static_cast<DWORD>(count), &transferred, nullptr))
    return 0;
  return static_cast<int32_t>(transferred);
}

int32_t THandleStream::Write(const void* buffer, int32_t count)
{
  DWORD transferred = 0;
  if (count <= 0 || !WriteFile(FHandle, buffer, static_cast<DWORD>(count), &transferred, nullptr))
    return 0;
  return static_cast<int32_t>(transferred);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin)
{
  static constexpr DWORD Methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER position;
  if (!SetFilePointerEx(FHandle, distance, &position, Methods[origin])) return -1;
  return position.QuadPart;
}

void THandleStream::SetSize(int64_t size)
{
  // Where the move fails, the end would be set at the old position and cut the file there.
  LARGE_INTEGER end;
  end.QuadPart = size;
  if (!SetFilePointerEx(FHandle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(FHandle)) {
    const DWORD code = GetLastError();
    throw EOSError(SysErrorMessage(code), code);
  }
}

// TFileStream -------------------------------------------------------------------------------------

TFileStream::TFileStream(const AnsiString& fileName, uint32_t mode) : FFileName(fileName)
{
  const bool create = (mode & 0xFF00) == fmCreate;
  static constexpr DWORD Access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE, 0};
  FHandle = CreateFileA(fileName.c_str(), create ? GENERIC_READ | GENERIC_WRITE : Access[mode & 3],
                        ShareMode(mode), nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) {
    const AnsiString reason = SysErrorMessage(GetLastError());
    if (create) throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, reason));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName, reason));
  }
}

TFileStream::~TFileStream()
{
  CloseHandle(FHandle);
}

// TResourceStream ---------------------------------------------------------------------------------

TResourceStream::TResourceStream(HMODULE instance, const AnsiString& resName, const char* resType)
{
  Initialize(instance, resName.c_str(), resName, resType);
}

TResourceStream::TResourceStream(HMODULE instance, int resId, const char* resType)
{
  Initialize(instance, MAKEINTRESOURCEA(resId), IntToStr(resId), resType);
}

void TResourceStream::Initialize(HMODULE instance, const char* name, const AnsiString& displayName,
                                 const char* resType)
{
  HRSRC resource = FindResourceA(instance, name, resType);
  HGLOBAL data = resource ? LoadResource(instance, resource) : nullptr;
  if (!data) throw EResNotFound(Format("Resource %s not found", displayName));
  SetPointer(LockResource(data), SizeofResource(instance, resource));
}

int32_t TResourceStream::Write(const void*, int32_t)
{
  throw EStreamError("Can't write to a read-only resource stream");
}

// The memory streams' file operations -------------------------------------------------------------

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName) const
{
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName)
{
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}
