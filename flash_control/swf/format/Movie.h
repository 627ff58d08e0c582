// A parsed movie: its header, its dictionary of characters and its root timeline. Parsing is all or
// nothing: a file whose structure does not hold throws FormatError and yields no movie. Unknown tags
// are skipped; script bytes are kept as they are and checked when they run.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "flash_control/swf/Limits.h"
#include "flash_control/swf/format/Codes.h"
#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/format/Shape.h"

namespace swf {

struct PlaceTag {
  uint16_t Depth = 0;
  bool Move = false;  // modify (or replace) what is at Depth instead of placing anew
  std::optional<uint16_t> CharacterId;
  std::optional<Matrix> Transform;
  std::optional<ColorTransform> Colors;
  std::optional<uint16_t> Ratio;
  std::optional<std::string> Name;
  std::optional<uint16_t> ClipDepth;
};

struct RemoveTag {
  uint16_t Depth = 0;
};

using ActionBytes = std::vector<uint8_t>;

struct ActionTag {
  ActionBytes Actions;
};

using ControlTag = std::variant<PlaceTag, RemoveTag, ActionTag>;

struct Frame {
  std::vector<ControlTag> Tags;
  std::string Label;  // empty when the frame has none
};

struct Timeline {
  std::vector<Frame> Frames;  // at least one

  // 0-based frame of a label (labels compare without regard to ASCII case), or nothing.
  std::optional<uint32_t> FindLabel(std::string_view label) const;
  // The label of `frame` or of the nearest labelled frame before it; empty when there is none.
  std::string_view LabelAt(uint32_t frame) const;
};

struct ButtonRecord {
  uint8_t States = 0;  // ButtonState bits
  uint16_t CharacterId = 0;
  uint16_t Depth = 0;
  Matrix Transform;
  ColorTransform Colors;
};

struct ButtonAction {
  uint16_t Conditions = 0;  // ButtonCondition bits
  ActionBytes Actions;
};

struct Button {
  bool TrackAsMenu = false;
  std::vector<ButtonRecord> Records;
  std::vector<ButtonAction> Actions;
};

struct Sprite {
  Timeline Content;
};

struct VideoStream {
  uint16_t Width = 0, Height = 0;  // pixels
};

using Character = std::variant<Shape, Button, Sprite, VideoStream>;

struct Movie {
  bool Compressed = false;
  uint8_t Version = 0;
  uint32_t FileLength = 0;   // as the header states it
  TwipsRect FrameSize;
  uint16_t FrameRate = 0;    // 8.8 fixed point frames per second
  uint16_t FrameCount = 0;   // as the header states it
  std::optional<Rgba> Background;
  std::map<uint16_t, Character> Dictionary;
  Timeline Root;

  const Character* Find(uint16_t id) const;
};

std::shared_ptr<const Movie> ParseMovie(std::span<const uint8_t> file, const Limits& limits);

}  // namespace swf
