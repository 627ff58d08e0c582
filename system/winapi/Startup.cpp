// Qv_winapi - capabilities, the libraries the unit keeps, start-up and shut-down.
#include "system/winapi/WinApiInternal.h"

namespace Qv_winapi {

TSetLayeredWindowAttributes SetLayeredWindowAttributes = nullptr;
TUpdateLayeredWindow UpdateLayeredWindow = nullptr;
TTransparentBlt TransparentBltFunc = nullptr;
TDwmIsCompositionEnabled DwmIsCompositionEnabled = nullptr;
TDwmSetWindowAttribute DwmSetWindowAttribute = nullptr;

TCapabilities Capabilities;

const char* volatile SigWinApi = "Qv_winapi 1.0: optional system functions and system tests";

namespace {

// Libraries loaded by name and freed at shut-down.
HMODULE User32Library = nullptr;
HMODULE MsImgLibrary = nullptr;
HMODULE DwmLibrary = nullptr;

TOsVersion QueryVersion()
{
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  const bool known = GetVersionExA(&info) != FALSE;
  return {known, info.dwPlatformId, info.dwMajorVersion};
}

void FreeLoaded(HMODULE& library)
{
  if (library) FreeLibrary(library);
  library = nullptr;
}

}  // namespace

void ApplyVersion(TCapabilities& caps, const TOsVersion& version)
{
  caps.WinNT = version.Known && version.PlatformId == VER_PLATFORM_WIN32_NT;
  caps.WinNT4 = version.Known && version.MajorVersion == 4;
}

bool WantsMsImg(const TCapabilities& caps)
{
  return !caps.WinNT4 && (caps.WinNT || caps.Win2k || caps.WinXP);
}

bool IsWinNT() { return Capabilities.WinNT; }
bool IsWinNT4() { return Capabilities.WinNT4; }
bool IsWin2k() { return Capabilities.Win2k; }
bool IsWinXP() { return Capabilities.WinXP; }
bool IsWinVista() { return Capabilities.WinVista; }
bool IsMsImg() { return Capabilities.MsImg; }

// The order matters: the msimg32 decision reads the flags of the version, user32 and theme steps.
void Startup()
{
  // A volatile read and write keep the signature text in the executable.
  SigWinApi = SigWinApi;

  ApplyVersion(Capabilities, QueryVersion());

  User32Library = LoadLibraryA("user32.dll");
  if (User32Library) {
    LookUp(User32Library, "SetLayeredWindowAttributes", SetLayeredWindowAttributes);
    LookUp(User32Library, "UpdateLayeredWindow", UpdateLayeredWindow);
    Capabilities.Win2k = SetLayeredWindowAttributes != nullptr;
  }

  CreateThemeLock();
  AcquireThemeApi();

  LoadMonitorApi();

  if (WantsMsImg(Capabilities)) {
    MsImgLibrary = LoadLibraryA("msimg32.dll");
    if (MsImgLibrary) {
      LookUp(MsImgLibrary, "TransparentBlt", TransparentBltFunc);
      Capabilities.MsImg = true;
    }
  }

  LoadScrollBarApi();

  DwmLibrary = LoadLibraryA("dwmapi.dll");
  if (DwmLibrary) {
    LookUp(DwmLibrary, "DwmIsCompositionEnabled", DwmIsCompositionEnabled);
    LookUp(DwmLibrary, "DwmSetWindowAttribute", DwmSetWindowAttribute);
    Capabilities.WinVista = true;
  }
}

// The capability flags keep their values: nothing of the unit is used after shut-down. The pointers
// into the libraries freed here are cleared with them, so none is left pointing into unloaded code.
void Shutdown()
{
  ClearMonitorApi();
  ClearScrollBarApi();
  TransparentBltFunc = nullptr;
  FreeLoaded(MsImgLibrary);
  DwmIsCompositionEnabled = nullptr;
  DwmSetWindowAttribute = nullptr;
  FreeLoaded(DwmLibrary);
  SetLayeredWindowAttributes = nullptr;
  UpdateLayeredWindow = nullptr;
  FreeLoaded(User32Library);
  ReleaseAllThemeApi();
  DestroyThemeLock();
}

}  // namespace Qv_winapi
