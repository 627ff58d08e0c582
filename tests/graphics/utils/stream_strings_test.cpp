#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/Qv_utils.h"

namespace {

std::string Contents(TMemoryStream& stream)
{
  return std::string(static_cast<const char*>(stream.Memory()),
                     static_cast<size_t>(stream.GetSize()));
}

void Fill(TMemoryStream& stream, const std::string& bytes)
{
  stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
}

}  // namespace

TEST(StreamStrings, WritesCountThenCharactersAndReadsThemBack)
{
  TMemoryStream stream;
  const AnsiString withZeroAndHighBytes("a\0\xFFz", 4);
  WriteString(stream, "Zarinelle");
  WriteString(stream, "");
  WriteString(stream, withZeroAndHighBytes);
  EXPECT_EQ(std::string("\x09\0\0\0Zarinelle" "\0\0\0\0" "\x04\0\0\0", 21) + withZeroAndHighBytes,
            Contents(stream));

  stream.SetPosition(0);
  EXPECT_EQ("Zarinelle", ReadString(stream));
  EXPECT_EQ("", ReadString(stream));
  EXPECT_EQ(withZeroAndHighBytes, ReadString(stream));
  EXPECT_EQ("", ReadString(stream));  // at the end
}

TEST(StreamStrings, DamagedStreamsGiveWhatTheyHold)
{
  struct Case {
    const char* Name;
    std::string Bytes;
    AnsiString Expected;
    int64_t Position;  // after the read
  };
  const Case cases[] = {
    {"count longer than the stream", std::string("\x0A\0\0\0abcd", 8), "abcd", 8},
    {"count of 2 GB", std::string("\xFF\xFF\xFF\x7F" "abc", 7), "abc", 7},
    {"negative count", std::string("\xFE\xFF\xFF\xFF" "abc", 7), "", 4},
    {"half a count", std::string("\x02\0", 2), "", 2},
    {"count over a block", std::string("\x01\x00\x01\0", 4) + std::string(65537, 'q'),
     std::string(65537, 'q'), 65541},
  };
  for (const Case& c : cases) {
    TMemoryStream stream;
    Fill(stream, c.Bytes);
    EXPECT_EQ(c.Expected, ReadString(stream)) << c.Name;
    EXPECT_EQ(c.Position, stream.GetPosition()) << c.Name;
  }
}
