#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "platform/SyncObjs.h"

TEST(CriticalSection, SerialisesThreadsAndReentersOnTheSameThread)
{
  TCriticalSection section;
  long counter = 0;  // a read-modify-write that loses updates without the lock
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      std::lock_guard outer(section);
      section.Enter();
      const long seen = counter;
      std::this_thread::yield();
      counter = seen + 1;
      section.Leave();
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) threads.emplace_back(work);
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(80000, counter);
}
