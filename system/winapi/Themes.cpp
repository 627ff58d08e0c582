// Qv_winapi - the reference-counted theme library and the theme state.
#include <mutex>
#include <optional>

#include "platform/SyncObjs.h"
#include "system/winapi/WinApiInternal.h"

namespace Qv_winapi {

#define QV_DEFINE_THEME_FUNCTION(name) T##name name = nullptr;
QV_THEME_FUNCTIONS(QV_DEFINE_THEME_FUNCTION)
#undef QV_DEFINE_THEME_FUNCTION

bool UseThemeVar = false;

namespace {

// The library handle and its reference count are read and changed only under the lock.
std::optional<TCriticalSection> ThemeLock;
HMODULE ThemeLibrary = nullptr;
int ThemeReferences = 0;

void LookUpThemeFunctions()
{
#define QV_LOOK_UP_THEME_FUNCTION(name) LookUp(ThemeLibrary, #name, name);
  QV_THEME_FUNCTIONS(QV_LOOK_UP_THEME_FUNCTION)
#undef QV_LOOK_UP_THEME_FUNCTION
}

void ClearThemeFunctions()
{
#define QV_CLEAR_THEME_FUNCTION(name) name = nullptr;
  QV_THEME_FUNCTIONS(QV_CLEAR_THEME_FUNCTION)
#undef QV_CLEAR_THEME_FUNCTION
}

}  // namespace

void CreateThemeLock() { ThemeLock.emplace(); }
void DestroyThemeLock() { ThemeLock.reset(); }

bool AcquireThemeApi()
{
  std::lock_guard guard(*ThemeLock);
  ++ThemeReferences;
  if (!ThemeLibrary) {
    ThemeLibrary = LoadLibraryA("uxtheme.dll");
    if (ThemeLibrary) {
      LookUpThemeFunctions();
      Capabilities.WinXP = true;
    }
  }
  const bool loaded = ThemeLibrary != nullptr;
  UseThemesSlow();
  return loaded;
}

void ReleaseThemeApi()
{
  std::lock_guard guard(*ThemeLock);
  if (ThemeReferences > 0) --ThemeReferences;
  if (ThemeLibrary && ThemeReferences == 0) {
    FreeLibrary(ThemeLibrary);
    ThemeLibrary = nullptr;
    ClearThemeFunctions();
  }
}

void ReleaseAllThemeApi()
{
  if (!ThemeLock) return;
  std::lock_guard guard(*ThemeLock);
  while (ThemeReferences > 0) ReleaseThemeApi();
}

bool ThemesInUse(bool libraryLoaded, TIsAppThemed isAppThemed, TIsThemeActive isThemeActive)
{
  if (!libraryLoaded || !isAppThemed || !isThemeActive) return false;
  return isAppThemed() != FALSE && isThemeActive() != FALSE;
}

bool UseThemesSlow()
{
  // Before start-up and after shut-down there is neither lock nor library.
  if (!ThemeLock) return UseThemeVar = false;
  std::lock_guard guard(*ThemeLock);
  UseThemeVar = ThemesInUse(ThemeLibrary != nullptr, IsAppThemed, IsThemeActive);
  return UseThemeVar;
}

bool UseThemes() { return UseThemeVar; }

}  // namespace Qv_winapi
