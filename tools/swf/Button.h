// Button: the state records and condition actions of a DefineButton2 character.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/swf/Actions.h"
#include "tools/swf/Records.h"

namespace swfwriter {

// The states a button record shows in; combine with `|`.
enum ButtonState : uint8_t {
  StateUp = 0x01,
  StateOver = 0x02,
  StateDown = 0x04,
  StateHitTest = 0x08,
};

// Mouse transitions that run a button's actions, as the 16-bit condition field numbers them;
// combine with `|`.
enum ButtonCondition : uint16_t {
  IdleToOverUp = 0x0001,      // roll over
  OverUpToIdle = 0x0002,      // roll out
  OverUpToOverDown = 0x0004,  // press
  OverDownToOverUp = 0x0008,  // release inside
  OverDownToOutDown = 0x0010,
  OutDownToOverDown = 0x0020,
  OutDownToIdle = 0x0040,  // release outside
  IdleToOverDown = 0x0080,
  OverDownToIdle = 0x0100,
};

class Button {
public:
  // Shows `character` at `depth` inside the button in the given states.
  Button& Add(uint8_t states, uint16_t character, uint16_t depth, const Matrix& matrix = {},
              const std::optional<ColorTransform>& transform = std::nullopt);
  Button& On(uint16_t conditions, const Actions& actions);
  // Makes the button keep the mouse as a menu item does, instead of capturing it while pressed.
  Button& TrackAsMenu(bool value = true);

  // The body of DefineButton2 after the character id.
  void Write(ByteWriter& out) const;

private:
  struct Record {
    uint8_t states;
    uint16_t character;
    uint16_t depth;
    Matrix matrix;
    ColorTransform transform;
  };
  struct CondAction {
    uint16_t conditions;
    Bytes actions;
  };

  std::vector<Record> FRecords;
  std::vector<CondAction> FActions;
  bool FTrackAsMenu = false;
};

}  // namespace swfwriter
