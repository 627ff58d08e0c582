#include <gtest/gtest.h>

#include "graphics/Qv_utils.h"

namespace {

// Hidden windows of this thread, destroyed with the fixture.
class WindowUtilsTest : public ::testing::Test {
protected:
  void TearDown() override
  {
    DestroyWindow(First);
    DestroyWindow(Second);
  }

  static HWND Create(const char* text)
  {
    return CreateWindowExA(0, "STATIC", text, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           nullptr, nullptr);
  }

  const HWND First = Create("first");
  const HWND Second = Create("second");
};

}  // namespace

TEST_F(WindowUtilsTest, ClassNameAndText)
{
  ASSERT_NE(nullptr, First);
  EXPECT_STRCASEEQ("Static", GetWndClassName(First).c_str());
  EXPECT_EQ("first", GetWndText(First));

  const AnsiString longText(1500, 'x');
  SetWindowTextA(First, longText.c_str());
  EXPECT_EQ(AnsiString(999, 'x'), GetWndText(First));

  SetWindowTextA(First, "");
  EXPECT_EQ("", GetWndText(First));
  const HWND gone = Create("gone");
  DestroyWindow(gone);
  EXPECT_EQ("", GetWndClassName(gone));
  EXPECT_EQ("", GetWndText(gone));
}

TEST_F(WindowUtilsTest, NestedCaptureReleasesOnTheLastEnd)
{
  ASSERT_NE(nullptr, First);
  CaptureMouse(First);
  CaptureMouse(Second);  // nested: the first window keeps the capture
  EXPECT_EQ(First, GetCapture());
  EXPECT_EQ(First, CaptureHandle);

  EndCapture();
  EXPECT_EQ(First, GetCapture());
  EndCapture();
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(nullptr, CaptureHandle);
}

TEST_F(WindowUtilsTest, UnmatchedEndDoesNotSpoilTheNextCapture)
{
  ASSERT_NE(nullptr, First);
  EndCapture();
  CaptureMouse(First);
  EXPECT_EQ(First, GetCapture());
  EndCapture();
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(WindowUtilsTest, CaptureTakenInBetweenIsLeftAlone)
{
  ASSERT_NE(nullptr, Second);
  CaptureMouse(First);
  SetCapture(Second);
  EndCapture();
  EXPECT_EQ(Second, GetCapture());
  EXPECT_EQ(nullptr, CaptureHandle);
  ReleaseCapture();
}
