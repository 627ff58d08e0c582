// Synchronisation objects of the platform.
#pragma once

#include <windows.h>

// A recursive lock within one process. Enter/Leave are the platform's names; lock/unlock make it a
// standard BasicLockable, so std::lock_guard holds it for a scope and leaves it on every path.
class TCriticalSection {
public:
  TCriticalSection() { InitializeCriticalSection(&FSection); }
  ~TCriticalSection() { DeleteCriticalSection(&FSection); }
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&FSection); }
  void Leave() { LeaveCriticalSection(&FSection); }

  void lock() { Enter(); }
  void unlock() { Leave(); }

private:
  CRITICAL_SECTION FSection;
};
