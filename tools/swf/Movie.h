// Movie: an SWF file put together tag by tag. A Timeline holds the control tags of one timeline
// (placing, removing, frames, labels, actions); a Sprite is a timeline to be defined as a
// character; the Movie is the root timeline that also holds the definitions and writes the file.
//
//   Movie movie({.version = 8, .frame = PxRect(0, 0, 100, 100)});
//   Shape box;
//   box.Rectangle(PxRect(10, 10, 90, 90), box.AddFill(Rgb(0xC76D6D)));
//   movie.PlaceObject2({.depth = 1, .character = movie.DefineShape(box)});
//   movie.ShowFrame();
//   Bytes file = movie.Save();
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "flash_control/swf/format/Codes.h"
#include "tools/swf/Actions.h"
#include "tools/swf/Button.h"
#include "tools/swf/ByteWriter.h"
#include "tools/swf/Records.h"
#include "tools/swf/Shape.h"

namespace swfwriter {

// The fields of PlaceObject2; each one that is set is stored, with its flag.
struct Placement {
  uint16_t depth = 0;
  bool move = false;  // modify the character already at this depth
  std::optional<uint16_t> character = std::nullopt;
  std::optional<Matrix> matrix = std::nullopt;
  std::optional<ColorTransform> colorTransform = std::nullopt;
  std::optional<uint16_t> ratio = std::nullopt;
  std::optional<std::string> name = std::nullopt;
  std::optional<uint16_t> clipDepth = std::nullopt;
};

class Timeline {
public:
  void PlaceObject(uint16_t character, uint16_t depth, const Matrix& matrix = {},
                   const std::optional<ColorTransform>& transform = std::nullopt);
  void PlaceObject2(const Placement& placement);
  void RemoveObject(uint16_t character, uint16_t depth);
  void RemoveObject2(uint16_t depth);
  void FrameLabel(std::string_view label);
  void DoAction(const Actions& actions);
  void ShowFrame();

  // Any tag. Its header is short when the body is under 63 bytes, unless long headers are on.
  void Tag(uint16_t code, std::span<const uint8_t> body);
  // Writes every later tag that has a body with the long header form.
  void SetLongHeaders(bool value) { FLongHeaders = value; }

  uint16_t FrameCount() const { return FFrameCount; }
  // The tags so far, closed with the end tag.
  Bytes EncodeTags() const;

private:
  ByteWriter FTags;
  uint16_t FFrameCount = 0;
  bool FLongHeaders = false;
};

class Sprite : public Timeline {};

struct MovieHeader {
  uint8_t version = 8;
  Rect frame = PxRect(0, 0, 550, 400);
  double frameRate = 12.0;  // stored as 8.8 fixed point
  bool compressed = false;  // "CWS": everything after the first 8 bytes is one zlib stream
};

struct VideoStream {
  uint16_t frames = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t deblocking = 0;  // 3 bits
  bool smoothing = false;
  uint8_t codec = 0;
};

class Movie : public Timeline {
public:
  explicit Movie(const MovieHeader& header);

  void SetBackgroundColor(Color color);

  // Each definition takes the next character id, from 1 on, and returns it.
  // DefineShape picks the smallest version that holds the shape; `version` 1, 2 or 3 forces one.
  uint16_t DefineShape(const Shape& shape);
  uint16_t DefineShape(const Shape& shape, int version);
  uint16_t DefineButton2(const Button& button);
  uint16_t DefineSprite(const Sprite& sprite);
  uint16_t DefineVideoStream(const VideoStream& video);

  const MovieHeader& Header() const { return FHeader; }
  // The whole file; the frame count and the file length are filled in.
  Bytes Save() const;
  void SaveToFile(const std::string& path) const;

private:
  uint16_t NextCharacter();

  MovieHeader FHeader;
  uint16_t FLastCharacter = 0;
};

}  // namespace swfwriter
