#include <gtest/gtest.h>

#include "system/winapi/WinApiInternal.h"

using namespace Qv_winapi;

namespace {

int AppThemedCalls = 0;
int ThemeActiveCalls = 0;
BOOL AppThemedAnswer = FALSE;
BOOL ThemeActiveAnswer = FALSE;

BOOL WINAPI AppThemed() { ++AppThemedCalls; return AppThemedAnswer; }
BOOL WINAPI ThemeActive() { ++ThemeActiveCalls; return ThemeActiveAnswer; }

}  // namespace

TEST(Themes, InUseOnlyWhenLoadedThemedAndActive)
{
  struct Case {
    bool Loaded;
    BOOL AppThemed, ThemeActive;
    bool InUse;
    int AppThemedCalls, ThemeActiveCalls;
  };
  const Case cases[] = {
    {false, TRUE, TRUE, false, 0, 0},
    {true, FALSE, TRUE, false, 1, 0},  // a themed system does not make the application themed
    {true, TRUE, FALSE, false, 1, 1},
    {true, TRUE, TRUE, true, 1, 1},
  };
  for (const Case& c : cases) {
    AppThemedCalls = ThemeActiveCalls = 0;
    AppThemedAnswer = c.AppThemed;
    ThemeActiveAnswer = c.ThemeActive;
    EXPECT_EQ(c.InUse, ThemesInUse(c.Loaded, AppThemed, ThemeActive));
    EXPECT_EQ(c.AppThemedCalls, AppThemedCalls);
    EXPECT_EQ(c.ThemeActiveCalls, ThemeActiveCalls);
  }
  EXPECT_FALSE(ThemesInUse(true, nullptr, nullptr));
}

TEST(Themes, UseThemesAnswersFromTheCacheUntilAskedAgain)
{
  const bool system = UseThemesSlow();
  EXPECT_EQ(system, UseThemes());

  UseThemeVar = !system;
  EXPECT_EQ(!system, UseThemes());
  EXPECT_EQ(system, UseThemesSlow());
  EXPECT_EQ(system, UseThemes());
}

TEST(Themes, LibraryStaysUntilTheLastReferenceGoes)
{
  // Start-up holds one reference; take a second.
  ASSERT_TRUE(AcquireThemeApi());
  ReleaseThemeApi();
  EXPECT_NE(nullptr, Qv_winapi::OpenThemeData);
  EXPECT_NE(nullptr, Qv_winapi::EnableTheming);

  ReleaseThemeApi();
  EXPECT_EQ(nullptr, Qv_winapi::OpenThemeData);
  EXPECT_EQ(nullptr, Qv_winapi::EnableTheming);
  EXPECT_FALSE(UseThemesSlow());
  EXPECT_TRUE(IsWinXP());

  // A release without a reference does not go below zero: one acquisition is again undone by one
  // release.
  ReleaseThemeApi();
  ASSERT_TRUE(AcquireThemeApi());
  EXPECT_NE(nullptr, Qv_winapi::OpenThemeData);
  ReleaseThemeApi();
  EXPECT_EQ(nullptr, Qv_winapi::OpenThemeData);

  // Give back the reference that start-up holds.
  ASSERT_TRUE(AcquireThemeApi());
  EXPECT_NE(nullptr, Qv_winapi::OpenThemeData);
}
