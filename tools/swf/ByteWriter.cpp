#include "tools/swf/ByteWriter.h"

#include <bit>
#include <stdexcept>
#include <string>

namespace swfwriter {

int UnsignedBits(uint32_t value)
{
  return std::bit_width(value);
}

int SignedBits(int32_t value)
{
  if (value == 0)
    return 0;
  const uint32_t magnitude = static_cast<uint32_t>(value < 0 ? ~value : value);
  return std::bit_width(magnitude) + 1;
}

void ByteWriter::U8(uint8_t value)
{
  Align();
  FData.push_back(value);
}

void ByteWriter::U16(uint16_t value)
{
  U8(static_cast<uint8_t>(value));
  U8(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::U32(uint32_t value)
{
  U16(static_cast<uint16_t>(value));
  U16(static_cast<uint16_t>(value >> 16));
}

void ByteWriter::String(std::string_view text)
{
  if (text.find('\0') != std::string_view::npos)
    throw std::invalid_argument("SWF string contains a zero byte");
  Align();
  FData.insert(FData.end(), text.begin(), text.end());
  FData.push_back(0);
}

void ByteWriter::Append(std::span<const uint8_t> bytes)
{
  Align();
  FData.insert(FData.end(), bytes.begin(), bytes.end());
}

void ByteWriter::UB(uint32_t value, int count)
{
  for (int bit = count - 1; bit >= 0; --bit) {
    if (FBitsFree == 0) {
      FData.push_back(0);
      FBitsFree = 8;
    }
    --FBitsFree;
    if ((value >> bit) & 1u)
      FData.back() |= static_cast<uint8_t>(1u << FBitsFree);
  }
}

void ByteWriter::BitCount(int count, int width)
{
  if (count >= (1 << width))
    throw std::out_of_range("SWF value needs " + std::to_string(count) + " bits, more than a " +
                            std::to_string(width) + "-bit count can state");
  UB(static_cast<uint32_t>(count), width);
}

void ByteWriter::Align()
{
  FBitsFree = 0;
}

void ByteWriter::PatchU16(size_t offset, uint16_t value)
{
  FData.at(offset) = static_cast<uint8_t>(value);
  FData.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

Bytes ByteWriter::Take()
{
  FBitsFree = 0;
  return std::move(FData);
}

}  // namespace swfwriter
