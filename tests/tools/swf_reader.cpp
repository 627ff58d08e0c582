#include "tests/tools/swf_reader.h"

#include <zlib.h>

#include <stdexcept>

namespace swftest {

using swfwriter::Color;
using swfwriter::ColorTransform;
using swfwriter::Matrix;
using swfwriter::Point;
using swfwriter::Rect;

uint32_t BitReader::UB(int count)
{
  uint32_t value = 0;
  for (int i = 0; i < count; ++i, ++FBit) {
    if (FBit >= FData.size() * 8)
      throw std::runtime_error("read past the end");
    value = value << 1 | ((FData[FBit / 8] >> (7 - FBit % 8)) & 1u);
  }
  return value;
}

int32_t BitReader::SB(int count)
{
  const uint32_t value = UB(count);
  if (count == 0 || count == 32 || !(value >> (count - 1) & 1u))
    return static_cast<int32_t>(value);
  return static_cast<int32_t>(value | ~((1u << count) - 1));
}

uint8_t BitReader::U8()
{
  Align();
  return static_cast<uint8_t>(UB(8));
}

uint16_t BitReader::U16()
{
  const uint16_t low = U8();
  return static_cast<uint16_t>(low | U8() << 8);
}

uint32_t BitReader::U32()
{
  const uint32_t low = U16();
  return low | static_cast<uint32_t>(U16()) << 16;
}

std::string BitReader::String()
{
  std::string text;
  for (uint8_t c = U8(); c != 0; c = U8())
    text.push_back(static_cast<char>(c));
  return text;
}

Bytes BitReader::Take(size_t count)
{
  Bytes bytes;
  for (size_t i = 0; i < count; ++i)
    bytes.push_back(U8());
  return bytes;
}

std::vector<Tag> ReadTags(BitReader& in)
{
  std::vector<Tag> tags;
  for (;;) {
    const uint16_t header = in.U16();
    const uint16_t code = header >> 6;
    const bool longHeader = (header & 0x3F) == 0x3F;
    const uint32_t length = longHeader ? in.U32() : header & 0x3Fu;
    if (code == swf::kTagEnd) {
      if (length != 0)
        throw std::runtime_error("end tag with a body");
      return tags;
    }
    tags.push_back({code, longHeader, in.Take(length)});
  }
}

ParsedMovie ReadMovie(std::span<const uint8_t> file)
{
  BitReader head(file);
  ParsedMovie movie;
  for (int i = 0; i < 3; ++i)
    movie.signature.push_back(static_cast<char>(head.U8()));
  movie.version = head.U8();
  movie.fileLength = head.U32();

  Bytes body(file.begin() + 8, file.end());
  if (movie.signature == "CWS") {
    Bytes inflated(movie.fileLength - 8);
    uLongf size = static_cast<uLongf>(inflated.size());
    if (uncompress(inflated.data(), &size, body.data(), static_cast<uLong>(body.size())) != Z_OK ||
        size != inflated.size())
      throw std::runtime_error("body does not inflate to the stated length");
    body = std::move(inflated);
  } else if (movie.signature != "FWS") {
    throw std::runtime_error("not a movie");
  }
  movie.uncompressed.assign(file.begin(), file.begin() + 8);
  movie.uncompressed.insert(movie.uncompressed.end(), body.begin(), body.end());

  BitReader in(body);
  movie.frame = ReadRect(in);
  movie.frameRate = in.U16();
  movie.frameCount = in.U16();
  movie.tags = ReadTags(in);
  if (!in.AtEnd())
    throw std::runtime_error("bytes after the end tag");
  return movie;
}

Rect ReadRect(BitReader& in)
{
  const int bits = static_cast<int>(in.UB(5));
  Rect rect;
  rect.xMin = in.SB(bits);
  rect.xMax = in.SB(bits);
  rect.yMin = in.SB(bits);
  rect.yMax = in.SB(bits);
  in.Align();
  return rect;
}

Matrix ReadMatrix(BitReader& in)
{
  Matrix matrix;
  if (in.UB(1)) {
    const int bits = static_cast<int>(in.UB(5));
    matrix.scaleX = in.SB(bits);
    matrix.scaleY = in.SB(bits);
  }
  if (in.UB(1)) {
    const int bits = static_cast<int>(in.UB(5));
    matrix.rotateSkew0 = in.SB(bits);
    matrix.rotateSkew1 = in.SB(bits);
  }
  const int bits = static_cast<int>(in.UB(5));
  matrix.translateX = in.SB(bits);
  matrix.translateY = in.SB(bits);
  in.Align();
  return matrix;
}

ColorTransform ReadColorTransform(BitReader& in, bool withAlpha)
{
  const bool hasAdd = in.UB(1);
  const bool hasMult = in.UB(1);
  const int bits = static_cast<int>(in.UB(4));
  ColorTransform t;
  const auto term = [&](int16_t& field) { field = static_cast<int16_t>(in.SB(bits)); };
  if (hasMult) {
    term(t.multR);
    term(t.multG);
    term(t.multB);
    if (withAlpha)
      term(t.multA);
  }
  if (hasAdd) {
    term(t.addR);
    term(t.addG);
    term(t.addB);
    if (withAlpha)
      term(t.addA);
  }
  in.Align();
  return t;
}

std::vector<Action> ReadActions(BitReader& in)
{
  std::vector<Action> actions;
  for (;;) {
    Action action{in.U8(), {}};
    if (action.code >= 0x80)
      action.payload = in.Take(in.U16());
    actions.push_back(action);
    if (action.code == 0)
      return actions;
  }
}

ParsedShape ReadShape(const Tag& tag)
{
  const int version = tag.code == swf::kTagDefineShape3   ? 3
                      : tag.code == swf::kTagDefineShape2 ? 2
                      : tag.code == swf::kTagDefineShape  ? 1
                                                               : 0;
  if (version == 0)
    throw std::runtime_error("not a shape tag");
  BitReader in(tag.body);
  ParsedShape shape;
  shape.id = in.U16();
  shape.bounds = ReadRect(in);
  const auto count = [&] {
    const uint16_t n = in.U8();
    return n == 0xFF && version >= 2 ? in.U16() : n;
  };
  const auto color = [&] {
    Color c{in.U8(), in.U8(), in.U8(), 255};
    if (version == 3)
      c.a = in.U8();
    return c;
  };
  for (uint16_t n = count(); n > 0; --n) {
    if (in.U8() != 0)
      throw std::runtime_error("not a solid fill");
    shape.fills.push_back(color());
  }
  for (uint16_t n = count(); n > 0; --n) {
    const uint16_t width = in.U16();
    shape.lines.emplace_back(width, color());
  }
  const int fillBits = static_cast<int>(in.UB(4));
  const int lineBits = static_cast<int>(in.UB(4));

  Point pen;
  int fill0 = 0, fill1 = 0, line = 0;
  for (;;) {
    if (in.UB(1) == 0) {
      const uint32_t flags = in.UB(5);
      if (flags == 0)
        break;
      if (flags & 0x10)
        throw std::runtime_error("new styles are not written");
      if (flags & 0x01) {
        const int bits = static_cast<int>(in.UB(5));
        pen.x = in.SB(bits);
        pen.y = in.SB(bits);
      }
      if (flags & 0x02)
        fill0 = static_cast<int>(in.UB(fillBits));
      if (flags & 0x04)
        fill1 = static_cast<int>(in.UB(fillBits));
      if (flags & 0x08)
        line = static_cast<int>(in.UB(lineBits));
      continue;
    }
    Segment segment{pen, std::nullopt, pen, fill0, fill1, line};
    const bool straight = in.UB(1);
    const int bits = static_cast<int>(in.UB(4)) + 2;
    if (straight) {
      if (in.UB(1)) {
        segment.to.x += in.SB(bits);
        segment.to.y += in.SB(bits);
      } else if (in.UB(1)) {
        segment.to.y += in.SB(bits);
      } else {
        segment.to.x += in.SB(bits);
      }
    } else {
      segment.control = Point{pen.x + in.SB(bits), pen.y + in.SB(bits)};
      segment.to = Point{segment.control->x + in.SB(bits), segment.control->y + in.SB(bits)};
    }
    pen = segment.to;
    shape.segments.push_back(segment);
  }
  in.Align();
  if (!in.AtEnd())
    throw std::runtime_error("bytes after the shape's end record");
  return shape;
}

ParsedPlacement ReadPlaceObject2(const Tag& tag)
{
  if (tag.code != swf::kTagPlaceObject2)
    throw std::runtime_error("not PlaceObject2");
  BitReader in(tag.body);
  ParsedPlacement parsed;
  parsed.flags = in.U8();
  swfwriter::Placement& p = parsed.placement;
  p.move = parsed.flags & 0x01;
  p.depth = in.U16();
  if (parsed.flags & 0x02)
    p.character = in.U16();
  if (parsed.flags & 0x04)
    p.matrix = ReadMatrix(in);
  if (parsed.flags & 0x08)
    p.colorTransform = ReadColorTransform(in, true);
  if (parsed.flags & 0x10)
    p.ratio = in.U16();
  if (parsed.flags & 0x20)
    p.name = in.String();
  if (parsed.flags & 0x40)
    p.clipDepth = in.U16();
  if (parsed.flags & 0x80)
    throw std::runtime_error("clip actions are not written");
  if (!in.AtEnd())
    throw std::runtime_error("bytes after the placement");
  return parsed;
}

ParsedButton ReadButton2(const Tag& tag)
{
  if (tag.code != swf::kTagDefineButton2)
    throw std::runtime_error("not DefineButton2");
  BitReader in(tag.body);
  ParsedButton button;
  button.id = in.U16();
  button.trackAsMenu = in.U8() & 1;
  const size_t offsetField = in.Position();
  const uint16_t actionOffset = in.U16();
  for (uint8_t states = in.U8(); states != 0; states = in.U8()) {
    ButtonRecord record{states, in.U16(), in.U16(), {}, {}};
    record.matrix = ReadMatrix(in);
    record.transform = ReadColorTransform(in, true);
    button.records.push_back(record);
  }
  if (actionOffset == 0) {
    if (!in.AtEnd())
      throw std::runtime_error("bytes after a button without actions");
    return button;
  }
  if (offsetField + actionOffset != in.Position())
    throw std::runtime_error("action offset does not point after the records");
  for (;;) {
    const size_t sizeField = in.Position();
    const uint16_t size = in.U16();
    const uint16_t conditions = in.U16();
    button.actions.emplace_back(conditions, ReadActions(in));
    if (size == 0)
      break;
    if (sizeField + size != in.Position())
      throw std::runtime_error("condition action size does not point to the next one");
  }
  if (!in.AtEnd())
    throw std::runtime_error("bytes after the last condition action");
  return button;
}

}  // namespace swftest
