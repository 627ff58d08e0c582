// The control's context menu: play, loop, rewind, forward and back. Showing it runs a modal loop,
// so the runner is replaceable: tests answer a choice without one.
#pragma once

#include <windows.h>

#include <functional>

namespace flash_control {

enum class TMenuCommand : UINT { None = 0, Play = 1, Loop, Rewind, Forward, Back };

struct TMenuState {
  bool HasMovie = false;
  bool Playing = false;
  bool Looping = false;
};

// Shows `menu` owned by `owner` at a screen point and answers the chosen item's identifier, 0 for
// none.
using TMenuRunner = std::function<UINT(HMENU menu, HWND owner, POINT screenPoint)>;

// Replaces the runner for the whole process; an empty runner restores the system's pop-up menu.
void SetMenuRunner(TMenuRunner runner);

TMenuCommand ShowContextMenu(HWND owner, POINT screenPoint, const TMenuState& state);

}  // namespace flash_control
