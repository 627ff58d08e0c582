#include "tools/swf/Movie.h"

#include <zlib.h>

#include <cmath>
#include <fstream>
#include <stdexcept>

namespace swfwriter {

// Timeline

void Timeline::Tag(uint16_t code, std::span<const uint8_t> body)
{
  if (code > swf::kMaxTagCode)
    throw std::out_of_range("tag code above 1023");
  if (body.size() > 0x7FFFFFFF)
    throw std::length_error("tag body too long");
  const bool longHeader = body.size() >= swf::kTagLongLength || (FLongHeaders && !body.empty());
  FTags.U16(static_cast<uint16_t>(code << swf::kTagCodeShift |
                                  (longHeader ? swf::kTagLongLength : body.size())));
  if (longHeader)
    FTags.U32(static_cast<uint32_t>(body.size()));
  FTags.Append(body);
}

void Timeline::PlaceObject(uint16_t character, uint16_t depth, const Matrix& matrix,
                           const std::optional<ColorTransform>& transform)
{
  ByteWriter body;
  body.U16(character);
  body.U16(depth);
  WriteMatrix(body, matrix);
  if (transform)
    WriteColorTransform(body, *transform, false);
  Tag(swf::kTagPlaceObject, body.Data());
}

void Timeline::PlaceObject2(const Placement& p)
{
  ByteWriter body;
  body.U8(static_cast<uint8_t>(
    (p.clipDepth ? swf::kPlaceHasClipDepth : 0) | (p.name ? swf::kPlaceHasName : 0) |
    (p.ratio ? swf::kPlaceHasRatio : 0) | (p.colorTransform ? swf::kPlaceHasColorTransform : 0) |
    (p.matrix ? swf::kPlaceHasMatrix : 0) | (p.character ? swf::kPlaceHasCharacter : 0) |
    (p.move ? swf::kPlaceMove : 0)));
  body.U16(p.depth);
  if (p.character)
    body.U16(*p.character);
  if (p.matrix)
    WriteMatrix(body, *p.matrix);
  if (p.colorTransform)
    WriteColorTransform(body, *p.colorTransform, true);
  if (p.ratio)
    body.U16(*p.ratio);
  if (p.name)
    body.String(*p.name);
  if (p.clipDepth)
    body.U16(*p.clipDepth);
  Tag(swf::kTagPlaceObject2, body.Data());
}

void Timeline::RemoveObject(uint16_t character, uint16_t depth)
{
  ByteWriter body;
  body.U16(character);
  body.U16(depth);
  Tag(swf::kTagRemoveObject, body.Data());
}

void Timeline::RemoveObject2(uint16_t depth)
{
  ByteWriter body;
  body.U16(depth);
  Tag(swf::kTagRemoveObject2, body.Data());
}

void Timeline::FrameLabel(std::string_view label)
{
  ByteWriter body;
  body.String(label);
  Tag(swf::kTagFrameLabel, body.Data());
}

void Timeline::DoAction(const Actions& actions)
{
  Tag(swf::kTagDoAction, actions.Encode());
}

void Timeline::ShowFrame()
{
  if (FFrameCount == 0xFFFF)
    throw std::length_error("more than 65535 frames");
  Tag(swf::kTagShowFrame, {});
  ++FFrameCount;
}

Bytes Timeline::EncodeTags() const
{
  ByteWriter tags = FTags;
  tags.U16(swf::kTagEnd);
  return tags.Take();
}

// Movie

Movie::Movie(const MovieHeader& header) : FHeader(header)
{
  if (header.frameRate < 0 || header.frameRate >= 256)
    throw std::out_of_range("frame rate outside 0 to 255.99");
}

uint16_t Movie::NextCharacter()
{
  if (FLastCharacter == 0xFFFF)
    throw std::length_error("more than 65535 characters");
  return ++FLastCharacter;
}

void Movie::SetBackgroundColor(Color color)
{
  ByteWriter body;
  WriteRgb(body, color);
  Tag(swf::kTagSetBackgroundColor, body.Data());
}

uint16_t Movie::DefineShape(const Shape& shape)
{
  if (shape.HasTranslucentStyle())
    return DefineShape(shape, 3);
  return DefineShape(shape, shape.FillCount() >= 0xFF || shape.LineCount() >= 0xFF ? 2 : 1);
}

uint16_t Movie::DefineShape(const Shape& shape, int version)
{
  static constexpr uint16_t codes[] = {swf::kTagDefineShape, swf::kTagDefineShape2,
                                       swf::kTagDefineShape3};
  if (version < 1 || version > 3)
    throw std::invalid_argument("shape version must be 1, 2 or 3");
  if (version < 3 && shape.HasTranslucentStyle())
    throw std::invalid_argument("translucent shape styles need shape version 3");
  ByteWriter body;
  const uint16_t id = NextCharacter();
  body.U16(id);
  WriteRect(body, shape.Bounds());
  shape.Write(body, version);
  Tag(codes[version - 1], body.Data());
  return id;
}

uint16_t Movie::DefineButton2(const Button& button)
{
  ByteWriter body;
  const uint16_t id = NextCharacter();
  body.U16(id);
  button.Write(body);
  Tag(swf::kTagDefineButton2, body.Data());
  return id;
}

uint16_t Movie::DefineSprite(const Sprite& sprite)
{
  ByteWriter body;
  const uint16_t id = NextCharacter();
  body.U16(id);
  body.U16(sprite.FrameCount());
  body.Append(sprite.EncodeTags());
  Tag(swf::kTagDefineSprite, body.Data());
  return id;
}

uint16_t Movie::DefineVideoStream(const VideoStream& video)
{
  if (video.deblocking > 7)
    throw std::out_of_range("video deblocking field holds 3 bits");
  ByteWriter body;
  const uint16_t id = NextCharacter();
  body.U16(id);
  body.U16(video.frames);
  body.U16(video.width);
  body.U16(video.height);
  body.U8(static_cast<uint8_t>(video.deblocking << 1 | (video.smoothing ? 1 : 0)));
  body.U8(video.codec);
  Tag(swf::kTagDefineVideoStream, body.Data());
  return id;
}

Bytes Movie::Save() const
{
  ByteWriter body;
  WriteRect(body, FHeader.frame);
  body.U16(static_cast<uint16_t>(std::lround(FHeader.frameRate * 256)));
  body.U16(FrameCount());
  body.Append(EncodeTags());

  const size_t length = 8 + body.Size();
  if (length > 0xFFFFFFFFu)
    throw std::length_error("movie longer than 4 GB");
  ByteWriter file;
  file.Append(std::span<const uint8_t>(
    reinterpret_cast<const uint8_t*>(FHeader.compressed ? "CWS" : "FWS"), 3));
  file.U8(FHeader.version);
  file.U32(static_cast<uint32_t>(length));
  if (!FHeader.compressed) {
    file.Append(body.Data());
    return file.Take();
  }
  uLongf packedSize = compressBound(static_cast<uLong>(body.Size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, body.Data().data(), static_cast<uLong>(body.Size()),
                Z_BEST_COMPRESSION) != Z_OK)
    throw std::runtime_error("zlib could not compress the movie");
  packed.resize(packedSize);
  file.Append(packed);
  return file.Take();
}

void Movie::SaveToFile(const std::string& path) const
{
  const Bytes data = Save();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  file.close();
  if (!file)
    throw std::runtime_error("cannot write " + path);
}

}  // namespace swfwriter
