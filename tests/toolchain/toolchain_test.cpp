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

// A program that crashes under the runner ends at once with a failure; a crash debugger would keep
// it waiting, and a crashing test would hang the whole run.
TEST(Toolchain, ACrashEndsTheProgramAtOnce)
{
  char self[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::string command = std::string("\"") + self +
                        "\" --gtest_also_run_disabled_tests --gtest_catch_exceptions=0"
                        " --gtest_filter=Toolchain.DISABLED_Crash";
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inheritable, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, nul);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &child);
  CloseHandle(nul);
  ASSERT_TRUE(started);

  const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
  DWORD exitCode = 0;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(WAIT_OBJECT_0, waited) << "the crashed program waited for a debugger";
  EXPECT_NE(0u, exitCode);
}

// Run only by the test above.
TEST(Toolchain, DISABLED_Crash)
{
  RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}
