#include "flash_control/swf/format/Reader.h"

namespace swf {

void Reader::Need(size_t count) const
{
  if (count > Remaining())
    throw FormatError("unexpected end of data");
}

uint8_t Reader::U8()
{
  AlignBits();
  Need(1);
  return data_[pos_++];
}

uint16_t Reader::U16()
{
  AlignBits();
  Need(2);
  const uint16_t value = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
  pos_ += 2;
  return value;
}

uint32_t Reader::U32()
{
  AlignBits();
  Need(4);
  const uint32_t value = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
                         static_cast<uint32_t>(data_[pos_ + 2]) << 16 |
                         static_cast<uint32_t>(data_[pos_ + 3]) << 24;
  pos_ += 4;
  return value;
}

std::string Reader::String()
{
  AlignBits();
  size_t end = pos_;
  while (end < data_.size() && data_[end] != 0)
    ++end;
  if (end == data_.size())
    throw FormatError("unterminated text");
  std::string text(reinterpret_cast<const char*>(data_.data() + pos_), end - pos_);
  pos_ = end + 1;
  return text;
}

std::span<const uint8_t> Reader::Bytes(size_t count)
{
  AlignBits();
  Need(count);
  const auto bytes = data_.subspan(pos_, count);
  pos_ += count;
  return bytes;
}

uint32_t Reader::UBits(unsigned count)
{
  uint64_t value = 0;
  for (unsigned left = count; left > 0;) {
    if (bitCount_ == 0) {
      Need(1);
      bitBuffer_ = data_[pos_++];
      bitCount_ = 8;
    }
    const unsigned take = left < bitCount_ ? left : bitCount_;
    const uint32_t bits = (bitBuffer_ >> (bitCount_ - take)) & ((1u << take) - 1);
    value = value << take | bits;
    bitCount_ -= take;
    left -= take;
  }
  return static_cast<uint32_t>(value);
}

int32_t Reader::SBits(unsigned count)
{
  if (count == 0)
    return 0;
  const uint32_t raw = UBits(count);
  if (count >= 32)
    return static_cast<int32_t>(raw);
  const uint32_t sign = 1u << (count - 1);
  return static_cast<int32_t>((raw ^ sign) - sign);
}

}  // namespace swf
