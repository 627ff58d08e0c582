#include <gtest/gtest.h>

#include <iterator>

#include "system/winapi/WinApiInternal.h"

using namespace Qv_winapi;

namespace {

// Every theme function by name, for checks that cover the whole set.
struct TThemeFunction {
  const char* Name;
  bool (*IsSet)();
};

#define QV_THEME_FUNCTION_ENTRY(name) {#name, [] { return Qv_winapi::name != nullptr; }},
const TThemeFunction ThemeFunctions[] = {QV_THEME_FUNCTIONS(QV_THEME_FUNCTION_ENTRY)};
#undef QV_THEME_FUNCTION_ENTRY

void ExpectThemeFunctions(bool set)
{
  for (const TThemeFunction& f : ThemeFunctions) EXPECT_EQ(set, f.IsSet()) << f.Name;
}

}  // namespace

TEST(WinApiStartup, FindsWhatTheSystemOffers)
{
  // Wine presents Windows 7 with all three optional libraries.
  EXPECT_TRUE(IsWinNT());
  EXPECT_FALSE(IsWinNT4());
  EXPECT_TRUE(IsWin2k());
  EXPECT_TRUE(IsWinXP());
  EXPECT_TRUE(IsWinVista());
  EXPECT_TRUE(IsMsImg());

  EXPECT_NE(nullptr, Qv_winapi::SetLayeredWindowAttributes);
  EXPECT_NE(nullptr, Qv_winapi::UpdateLayeredWindow);
  EXPECT_NE(nullptr, TransparentBltFunc);
  EXPECT_NE(nullptr, DwmIsCompositionEnabled);
  EXPECT_NE(nullptr, DwmSetWindowAttribute);
  EXPECT_EQ(47u, std::size(ThemeFunctions));
  ExpectThemeFunctions(true);
}

TEST(WinApiStartup, LoadsMsImgOnlyWhereItCanHelp)
{
  struct Case {
    const char* Name;
    TOsVersion Version;
    bool Win2k, WinXP;
    bool Wanted;
  };
  const Case cases[] = {
    {"NT 6.1, nothing else found", {true, VER_PLATFORM_WIN32_NT, 6}, false, false, true},
    {"NT 4 with layered windows and themes", {true, VER_PLATFORM_WIN32_NT, 4}, true, true, false},
    {"95/98/Me with layered windows and themes", {true, VER_PLATFORM_WIN32_WINDOWS, 4}, true, true,
     false},
    {"non-NT 5, nothing found", {true, VER_PLATFORM_WIN32_WINDOWS, 5}, false, false, false},
    {"non-NT 5 with layered windows", {true, VER_PLATFORM_WIN32_WINDOWS, 5}, true, false, true},
    {"non-NT 5 with themes", {true, VER_PLATFORM_WIN32_WINDOWS, 5}, false, true, true},
    {"unknown version, nothing found", {false, 0, 0}, false, false, false},
    {"unknown version with themes", {false, 0, 0}, false, true, true},
  };
  for (const Case& c : cases) {
    TCapabilities caps;
    ApplyVersion(caps, c.Version);
    caps.Win2k = c.Win2k;
    caps.WinXP = c.WinXP;
    EXPECT_EQ(c.Wanted, WantsMsImg(caps)) << c.Name;
  }
}

TEST(WinApiStartup, ShutdownReleasesEverythingAndStartupFindsItAgain)
{
  // Outstanding theme references do not keep the library past shut-down.
  ASSERT_TRUE(AcquireThemeApi());
  ASSERT_TRUE(AcquireThemeApi());

  Shutdown();
  ExpectThemeFunctions(false);
  EXPECT_EQ(nullptr, TransparentBltFunc);
  EXPECT_EQ(nullptr, DwmIsCompositionEnabled);
  EXPECT_EQ(nullptr, Qv_winapi::SetLayeredWindowAttributes);
  EXPECT_FALSE(UseThemesSlow());
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_FALSE(MyGetScrollBarInfo(GetDesktopWindow(), OBJID_VSCROLL, info));
  EXPECT_EQ(STATE_SYSTEM_INVISIBLE, info.rgstate[0]);
  // The flags stay as they were.
  EXPECT_TRUE(IsMsImg());

  Startup();
  ExpectThemeFunctions(true);
  EXPECT_NE(nullptr, TransparentBltFunc);
  EXPECT_NE(nullptr, DwmIsCompositionEnabled);
  EXPECT_NE(nullptr, Qv_winapi::SetLayeredWindowAttributes);
}
