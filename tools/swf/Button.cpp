#include "tools/swf/Button.h"

#include <stdexcept>

namespace swfwriter {

Button& Button::Add(uint8_t states, uint16_t character, uint16_t depth, const Matrix& matrix,
                    const std::optional<ColorTransform>& transform)
{
  if (states == 0 || (states & ~swf::kButtonStates) != 0)
    throw std::invalid_argument("button record needs one or more of the four states");
  FRecords.push_back({states, character, depth, matrix, transform.value_or(ColorTransform{})});
  return *this;
}

Button& Button::On(uint16_t conditions, const Actions& actions)
{
  FActions.push_back({conditions, actions.Encode()});
  return *this;
}

Button& Button::TrackAsMenu(bool value)
{
  FTrackAsMenu = value;
  return *this;
}

void Button::Write(ByteWriter& out) const
{
  out.U8(FTrackAsMenu ? swf::kButtonTrackAsMenu : 0);
  const size_t actionOffsetField = out.Size();
  out.U16(0);
  for (const Record& record : FRecords) {
    out.U8(record.states);
    out.U16(record.character);
    out.U16(record.depth);
    WriteMatrix(out, record.matrix);
    WriteColorTransform(out, record.transform, true);
  }
  out.U8(0);  // end of the records

  // Each offset counts from the field itself: the first to the first condition action, each
  // condition action's to the next one; 0 marks "none" and "last".
  if (FActions.empty())
    return;
  const auto patch = [&](size_t field) {
    const size_t distance = out.Size() - field;
    if (distance > 0xFFFF)
      throw std::length_error("button records or actions longer than 65535 bytes");
    out.PatchU16(field, static_cast<uint16_t>(distance));
  };
  patch(actionOffsetField);
  for (size_t i = 0; i < FActions.size(); ++i) {
    const size_t sizeField = out.Size();
    out.U16(0);
    out.U16(FActions[i].conditions);
    out.Append(FActions[i].actions);
    if (i + 1 < FActions.size())
      patch(sizeField);
  }
}

}  // namespace swfwriter
