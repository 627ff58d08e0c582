// A minimal SWF reader for the writer's tests: an independent decoding of what the writer encodes,
// strict about lengths, so a test can take a written file apart and look at its fields.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/swf/Movie.h"

namespace swftest {

using swfwriter::Bytes;

class BitReader {
public:
  explicit BitReader(std::span<const uint8_t> data) : FData(data) {}

  uint32_t UB(int count);
  int32_t SB(int count);
  void Align() { FBit = (FBit + 7) / 8 * 8; }
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  std::string String();
  Bytes Take(size_t count);
  bool AtEnd() const { return FBit >= FData.size() * 8; }
  size_t Position() const { return FBit / 8; }

private:
  std::span<const uint8_t> FData;
  size_t FBit = 0;
};

struct Tag {
  uint16_t code;
  bool longHeader;
  Bytes body;
};

struct ParsedMovie {
  std::string signature;
  uint8_t version = 0;
  uint32_t fileLength = 0;
  Bytes uncompressed;  // the whole file with its body inflated
  swfwriter::Rect frame;
  uint16_t frameRate = 0;  // 8.8 fixed point
  uint16_t frameCount = 0;
  std::vector<Tag> tags;  // the end tag excluded
};

// Tags up to and including the end tag, which must come last.
std::vector<Tag> ReadTags(BitReader& in);
ParsedMovie ReadMovie(std::span<const uint8_t> file);

swfwriter::Rect ReadRect(BitReader& in);
swfwriter::Matrix ReadMatrix(BitReader& in);
swfwriter::ColorTransform ReadColorTransform(BitReader& in, bool withAlpha);

struct Action {
  uint8_t code;
  Bytes payload;
  friend bool operator==(const Action&, const Action&) = default;
};
// Actions up to and including the end action, which must come last.
std::vector<Action> ReadActions(BitReader& in);

// A shape's edges with absolute coordinates and the styles in force on each.
struct Segment {
  swfwriter::Point from;
  std::optional<swfwriter::Point> control;
  swfwriter::Point to;
  int fill0 = 0;
  int fill1 = 0;
  int line = 0;
};
struct ParsedShape {
  uint16_t id = 0;
  swfwriter::Rect bounds;
  std::vector<swfwriter::Color> fills;
  std::vector<std::pair<uint16_t, swfwriter::Color>> lines;
  std::vector<Segment> segments;
};
// The body of DefineShape, DefineShape2 or DefineShape3 (by its tag code).
ParsedShape ReadShape(const Tag& tag);

struct ParsedPlacement {
  uint8_t flags = 0;
  swfwriter::Placement placement;
};
ParsedPlacement ReadPlaceObject2(const Tag& tag);

struct ButtonRecord {
  uint8_t states;
  uint16_t character;
  uint16_t depth;
  swfwriter::Matrix matrix;
  swfwriter::ColorTransform transform;
};
struct ParsedButton {
  uint16_t id = 0;
  bool trackAsMenu = false;
  std::vector<ButtonRecord> records;
  std::vector<std::pair<uint16_t, std::vector<Action>>> actions;
};
ParsedButton ReadButton2(const Tag& tag);

}  // namespace swftest
