#include <gtest/gtest.h>

#include "platform/FileStreams.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string ReadAll(TStream& stream)
{
  std::string bytes(static_cast<size_t>(stream.GetSize()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

template <class E, class F>
AnsiString ErrorOf(F action)
{
  try {
    action();
  } catch (const E& e) {
    return e.Message;
  }
  return "no error";
}

// Hands over at most three bytes at a time, as a pipe may.
class TTrickleStream : public TMemoryStream {
public:
  int32_t Read(void* buffer, int32_t count) override
  {
    return TMemoryStream::Read(buffer, std::min(count, 3));
  }
  int32_t Write(const void* buffer, int32_t count) override
  {
    return TMemoryStream::Write(buffer, std::min(count, 3));
  }
};

// A folder of its own under the system's temporary folder, removed with its files afterwards.
class FileStreamTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = Format("%sqv_streams_%u\\", temp, GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
  }

  void TearDown() override
  {
    for (const AnsiString& name : Created) DeleteFileA(name.c_str());
    RemoveDirectoryA(Folder.c_str());
  }

  AnsiString PathOf(const char* name)
  {
    Created.push_back(Folder + name);
    return Created.back();
  }

  AnsiString Folder;
  std::vector<AnsiString> Created;
};

}  // namespace

TEST(TMemoryStream, GrowsWithZerosAndShrinksItsPosition)
{
  TMemoryStream stream;
  stream.WriteBuffer("ab", 2);
  stream.Seek(3, soCurrent);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(std::string("ab\0\0\0z", 6), ReadAll(stream));

  stream.SetSize(3);
  EXPECT_EQ(3, stream.GetPosition());
  EXPECT_EQ(std::string("ab\0", 3), ReadAll(stream));
  stream.SetSize(5);
  EXPECT_EQ(std::string("ab\0\0\0", 5), ReadAll(stream));

  EXPECT_EQ(2, stream.Seek(-3, soEnd));
  char buffer[8] = {};
  EXPECT_EQ(3, stream.Read(buffer, 8));
  EXPECT_EQ(0, stream.Read(buffer, 8));

  stream.Clear();
  EXPECT_EQ(0, stream.GetSize());
  EXPECT_EQ(0, stream.GetPosition());
  EXPECT_EQ(0, stream.Capacity());
}

TEST(TStream, ShortTransfersAreErrors)
{
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(1);
  char buffer[4];
  EXPECT_EQ("Stream read error", ErrorOf<EReadError>([&] { stream.ReadBuffer(buffer, 3); }));
  // The short read still consumed what was there.
  EXPECT_EQ(3, stream.GetPosition());

  stream.SetPosition(-1);
  EXPECT_EQ("Stream write error", ErrorOf<EWriteError>([&] { stream.WriteBuffer("x", 1); }));
}

TEST(TStream, BufferTransfersGatherPartialTransfers)
{
  TTrickleStream stream;
  stream.WriteBuffer("Zarinelle", 9);
  EXPECT_EQ("Zarinelle", ReadAll(stream));
  char buffer[9];
  stream.SetPosition(4);
  EXPECT_EQ("Stream read error", ErrorOf<EReadError>([&] { stream.ReadBuffer(buffer, 9); }));
}

TEST(TStream, CopyFromCopiesAPartOrTheWholeSource)
{
  TMemoryStream source;
  std::string bytes(100000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  source.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));

  TMemoryStream whole;
  EXPECT_EQ(100000, whole.CopyFrom(source, 0));
  EXPECT_EQ(bytes, ReadAll(whole));

  TMemoryStream part;
  source.SetPosition(99990);
  EXPECT_EQ(4, part.CopyFrom(source, 4));
  EXPECT_EQ(bytes.substr(99990, 4), ReadAll(part));
  EXPECT_THROW(part.CopyFrom(source, 10), EReadError);
}

TEST_F(FileStreamTest, WritesReopensAndResizesAFile)
{
  const AnsiString name = PathOf("data.bin");
  {
    TFileStream file(name, fmCreate);
    file.WriteBuffer("Zarinelle", 9);
    EXPECT_EQ(name, file.FileName());
  }
  {
    TFileStream file(name, fmOpenReadWrite);
    EXPECT_EQ(9, file.GetSize());
    EXPECT_EQ(4, file.Seek(-5, soEnd));
    // A size the file cannot take leaves it as it was.
    EXPECT_THROW(file.SetSize(-1), EOSError);
    EXPECT_EQ(9, file.GetSize());
    file.SetSize(4);
  }
  TMemoryStream memory;
  memory.LoadFromFile(name);
  EXPECT_EQ(0, memory.GetPosition());
  EXPECT_EQ("Zari", ReadAll(memory));

  memory.SaveToFile(PathOf("copy.bin"));
  TFileStream copy(Folder + "copy.bin", fmOpenRead);
  EXPECT_EQ("Zari", ReadAll(copy));
  EXPECT_EQ("Stream write error", ErrorOf<EWriteError>([&] { copy.WriteBuffer("x", 1); }));
}

TEST_F(FileStreamTest, NamesTheFileItCannotCreateOrOpen)
{
  const AnsiString missing = Folder + "missing.bin";
  EXPECT_EQ(0u, ErrorOf<EFOpenError>([&] { TFileStream(missing, fmOpenRead); })
                  .find("Cannot open file \"" + missing + "\""));
  EXPECT_EQ(0u, ErrorOf<EFOpenError>([&] { TMemoryStream().LoadFromFile(missing); })
                  .find("Cannot open file \"" + missing + "\""));
  const AnsiString badPath = Folder + "no\\such\\folder.bin";
  EXPECT_EQ(0u, ErrorOf<EFCreateError>([&] { TFileStream(badPath, fmCreate); })
                  .find("Cannot create file \"" + badPath + "\""));
}

TEST_F(FileStreamTest, SharingModesAreHonoured)
{
  const AnsiString name = PathOf("shared.bin");
  TFileStream writer(name, fmCreate | fmShareDenyWrite);
  EXPECT_THROW(TFileStream(name, fmOpenWrite | fmShareDenyNone), EFOpenError);
  TFileStream reader(name, fmOpenRead | fmShareDenyNone);
  EXPECT_EQ(0, reader.GetSize());
}

TEST(THandleStream, LeavesItsHandleOpen)
{
  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
  {
    THandleStream stream(write);
    stream.WriteBuffer("pipe", 4);
  }
  THandleStream in(read);
  char buffer[4];
  in.ReadBuffer(buffer, 4);
  EXPECT_EQ("pipe", std::string(buffer, 4));
  EXPECT_TRUE(CloseHandle(read));
  EXPECT_TRUE(CloseHandle(write));
}

TEST(TResourceStream, ReadsAResourceByNameOrNumber)
{
  TResourceStream byName(GetModuleHandleA(nullptr), "TESTDATA", RT_RCDATA);
  EXPECT_EQ("Quorvane resource", ReadAll(byName));
  TResourceStream byId(GetModuleHandleA(nullptr), 42, RT_RCDATA);
  EXPECT_EQ("Quorvane resource", ReadAll(byId));
  EXPECT_THROW(byName.WriteBuffer("x", 1), EStreamError);
  EXPECT_THROW(byName.SetSize(0), EStreamError);

  const auto open = [](const char* name, const char* type) {
    return ErrorOf<EResNotFound>([&] { TResourceStream(GetModuleHandleA(nullptr), name, type); });
  };
  EXPECT_EQ("Resource NOPE not found", open("NOPE", RT_RCDATA));
  EXPECT_EQ("Resource TESTDATA not found", open("TESTDATA", RT_BITMAP));
}
