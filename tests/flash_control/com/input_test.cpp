// Input through OnWindowMessage: clicks on buttons fire their FSCommand once, capture goes through
// the site while pressed, WM_SETCURSOR shows the hand over a button, and the right button opens
// the context menu owned by the site's window.
#include <algorithm>

#include "flash_control/com/ContextMenu.h"
#include "tests/flash_control/com/ControlFixture.h"
#include "tests/flash_control/com/TestMovies.h"

namespace flash_control_test {

namespace {

class InputTest : public ControlTest {
protected:
  void SetUp() override
  {
    ControlTest::SetUp();
    CreateControl();
  }

  void Load(const std::wstring& path, RECT position)
  {
    Site.Position = position;
    ActivateWindowless();
    ASSERT_EQ(S_OK, Flash.As(&Windowless));
    LoadMovie(path);
  }

  void TearDown() override
  {
    Windowless.Reset();
    flash_control::SetMenuRunner(nullptr);
    ControlTest::TearDown();
  }

  HRESULT Send(UINT message, int x, int y, WPARAM wParam = 0)
  {
    LRESULT result = 0;
    return Windowless->OnWindowMessage(message, wParam, MAKELPARAM(x, y), &result);
  }

  void Click(int x, int y)
  {
    EXPECT_EQ(S_OK, Send(WM_MOUSEMOVE, x, y));
    EXPECT_EQ(S_OK, Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON));
    EXPECT_EQ(S_OK, Send(WM_LBUTTONUP, x, y));
  }

  HCURSOR CursorAt(int x, int y)
  {
    EXPECT_EQ(S_OK, Send(WM_MOUSEMOVE, x, y));
    LRESULT result = 0;
    EXPECT_EQ(S_OK, Windowless->OnWindowMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                                                &result));
    EXPECT_EQ(TRUE, result);
    return GetCursor();
  }

  std::vector<std::wstring> TakeCommands()
  {
    std::vector<std::wstring> commands;
    for (const TEvent& event : Events.Take())
      if (event.Id == 150) commands.push_back(event.Arguments.at(0));
    return commands;
  }

  ComPtr<IOleInPlaceObjectWindowless> Windowless;
};

using TCommands = std::vector<std::wstring>;

}  // namespace

TEST_F(InputTest, AClickOnAButtonFiresItsCommandOnce)
{
  const TTempFile movie(L"input_buttons.swf", ButtonsMovie());
  Load(movie.Path(), {0, 0, 200, 50});
  Events.Take();

  Click(170, 25);
  EXPECT_EQ(TCommands{L"Close"}, TakeCommands());
  EXPECT_EQ((std::vector<bool>{true, false}), Site.CaptureRequests);
  Click(120, 25);
  EXPECT_EQ(TCommands{L"Min"}, TakeCommands());

  // Pressed on the button but released elsewhere: no command.
  EXPECT_EQ(S_OK, Send(WM_MOUSEMOVE, 170, 25));
  EXPECT_EQ(S_OK, Send(WM_LBUTTONDOWN, 170, 25, MK_LBUTTON));
  EXPECT_EQ(S_OK, Send(WM_MOUSEMOVE, 20, 25, MK_LBUTTON));
  EXPECT_EQ(S_OK, Send(WM_LBUTTONUP, 20, 25));
  EXPECT_EQ(TCommands{}, TakeCommands());
  EXPECT_FALSE(Site.Captured);

  // The arguments text comes along with the command.
  Click(170, 25);
  EXPECT_EQ(1u, Events.Events.size());
  EXPECT_EQ((TEvent{150, {L"Close", L""}}), Events.Events.at(0));
}

TEST_F(InputTest, TheTitleBarsButtonsSendMinAndClose)
{
  // The title bar movie takes the mouse in its right 106 pixels: find its buttons there by the
  // cursor they show, then click each once.
  wchar_t path[MAX_PATH];
  GetFullPathNameW(L"menu.swf", MAX_PATH, path, nullptr);
  Load(path, {0, 0, 746, 50});
  std::vector<std::pair<int, int>> buttons;  // first and last column over each button
  const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
  for (int x = 640; x < 746; ++x) {
    if (CursorAt(x, 25) != hand) continue;
    if (buttons.empty() || buttons.back().second != x - 1)
      buttons.emplace_back(x, x);
    else
      buttons.back().second = x;
  }
  ASSERT_EQ(2u, buttons.size());
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), CursorAt(320, 25));

  Events.Take();
  std::vector<std::wstring> sent;
  for (const auto& [first, last] : buttons) {
    Click((first + last) / 2, 25);
    const TCommands commands = TakeCommands();
    ASSERT_EQ(1u, commands.size());
    sent.push_back(commands[0]);
  }
  std::sort(sent.begin(), sent.end());
  EXPECT_EQ((TCommands{L"Close", L"Min"}), sent);
}

TEST_F(InputTest, TheCursorIsAHandOverButtons)
{
  const TTempFile movie(L"input_cursor.swf", ButtonsMovie());
  Load(movie.Path(), {0, 0, 200, 50});
  EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), CursorAt(170, 25));
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), CursorAt(20, 25));
  EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), CursorAt(110, 15));
}

TEST_F(InputTest, ButtonsFollowTheStageWhenItIsScaled)
{
  // The 200 by 50 stage shown at twice its size, centred in a 400 by 200 rectangle.
  const TTempFile movie(L"input_scaled.swf", ButtonsMovie());
  Load(movie.Path(), {0, 0, 400, 200});
  Events.Take();
  Click(340, 100);
  EXPECT_EQ(TCommands{L"Close"}, TakeCommands());
  Click(170, 25);
  EXPECT_EQ(TCommands{}, TakeCommands());
}

TEST_F(InputTest, TheRightButtonOpensTheMenuOwnedByTheSitesWindow)
{
  const TTempFile movie(L"input_menu.swf", TimelineMovie());
  Load(movie.Path(), {0, 0, 100, 100});
  HWND owner =
    CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Site.Window = owner;

  struct {
    HWND owner = nullptr;
    std::vector<std::wstring> items;
    std::vector<bool> checked;
  } shown;
  UINT choice = 0;
  flash_control::SetMenuRunner([&](HMENU menu, HWND menuOwner, POINT) {
    shown.owner = menuOwner;
    shown.items.clear();
    shown.checked.clear();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[32] = {};
      GetMenuStringW(menu, i, text, 32, MF_BYPOSITION);
      shown.items.push_back(text);
      shown.checked.push_back(GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED);
    }
    return choice;
  });

  choice = UINT(flash_control::TMenuCommand::Play);
  EXPECT_EQ(S_OK, Send(WM_RBUTTONDOWN, 50, 50, MK_RBUTTON));
  EXPECT_EQ(1, Site.Count("GetWindow"));
  EXPECT_EQ(owner, shown.owner);
  EXPECT_EQ((std::vector<std::wstring>{L"Play", L"Loop", L"", L"Rewind", L"Forward", L"Back"}),
            shown.items);
  EXPECT_EQ((std::vector<bool>{true, true, false, false, false, false}), shown.checked);
  VARIANT_BOOL flag = VARIANT_TRUE;
  EXPECT_EQ(S_OK, Flash->IsPlaying(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag) << "Play, checked, stops the movie";

  choice = UINT(flash_control::TMenuCommand::Loop);
  EXPECT_EQ(S_OK, Send(WM_RBUTTONDOWN, 50, 50, MK_RBUTTON));
  EXPECT_EQ((std::vector<bool>{false, true, false, false, false, false}), shown.checked);
  EXPECT_EQ(S_OK, Flash->get_Loop(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);

  // Without a window from the site there is no menu; with Menu off the site is not even asked.
  Site.Window = nullptr;
  shown.owner = nullptr;
  Send(WM_RBUTTONDOWN, 50, 50, MK_RBUTTON);
  EXPECT_EQ(nullptr, shown.owner);
  ASSERT_EQ(S_OK, Flash->put_Menu(VARIANT_FALSE));
  const int asked = Site.Count("GetWindow");
  EXPECT_EQ(S_FALSE, Send(WM_RBUTTONDOWN, 50, 50, MK_RBUTTON));
  EXPECT_EQ(asked, Site.Count("GetWindow"));
  DestroyWindow(owner);
}

}  // namespace flash_control_test
