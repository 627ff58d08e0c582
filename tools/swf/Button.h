// Button: the state records and condition actions of a DefineButton2 character.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "flash_control/swf/format/Codes.h"
#include "tools/swf/Actions.h"
#include "tools/swf/Records.h"

namespace swfwriter {

class Button {
public:
  // Shows `character` at `depth` inside the button in the given states (swf::ButtonState bits).
  Button& Add(uint8_t states, uint16_t character, uint16_t depth, const Matrix& matrix = {},
              const std::optional<ColorTransform>& transform = std::nullopt);
  // Runs `actions` on the given transitions (swf::ButtonCondition bits).
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
