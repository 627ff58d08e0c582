// Proves the cross toolchain: static zlib, posix threads, and a live Windows runtime under the emulator.
#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

TEST(Toolchain, ZlibRoundTrip)
{
  const std::string text(4096, 'q');
  uLongf packedSize = compressBound(text.size());
  std::vector<Bytef> packed(packedSize);
  ASSERT_EQ(Z_OK, compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()),
                           text.size()));
  EXPECT_LT(packedSize, text.size() / 10);

  std::string unpacked(text.size(), '\0');
  uLongf unpackedSize = unpacked.size();
  ASSERT_EQ(Z_OK, uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &unpackedSize,
                             packed.data(), packedSize));
  EXPECT_EQ(text, unpacked);
}

TEST(Toolchain, PosixThreadsAndMutex)
{
  std::mutex lock;
  int total = 0;
  std::vector<std::thread> workers;
  for (int i = 0; i < 4; ++i)
    workers.emplace_back([&] {
      for (int n = 0; n < 1000; ++n) {
        std::lock_guard<std::mutex> guard(lock);
        ++total;
      }
    });
  for (auto& w : workers) w.join();
  EXPECT_EQ(4000, total);
}

TEST(Toolchain, RunsAsA32BitWindowsProcess)
{
  EXPECT_EQ(4u, sizeof(void*));
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  EXPECT_EQ(PROCESSOR_ARCHITECTURE_INTEL, info.wProcessorArchitecture);
  EXPECT_TRUE(GetModuleHandleA("kernel32.dll") != nullptr);
}
