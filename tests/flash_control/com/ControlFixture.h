// The base of the control's tests: OLE started, the control's class registered in-process, one
// control with a recording site and sinks attached. At the end it checks that every reference the
// control took on the site and the sinks is returned and that the control itself is gone.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "flash_control/ShockwaveFlash.h"
#include "tests/flash_control/com/TestSite.h"

namespace flash_control_test {

using Microsoft::WRL::ComPtr;

// Runs the thread's messages for the given time.
void Pump(DWORD milliseconds);
// Runs the thread's messages until `done` answers true; false after `timeout` milliseconds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 5000);

// The text of an OLE string the test owns; frees it.
std::wstring TakeText(BSTR text);

class ControlTest : public ::testing::Test {
protected:
  ControlTest() : Site(true) {}
  void SetUp() override;
  void TearDown() override;

  // The control with a fresh state, site attached, sinks connected (not activated).
  void CreateControl();
  void ActivateWindowless();
  // Sets Movie and runs messages until the control reports ready state 4.
  void LoadMovie(const std::wstring& url);
  LONG ReadyState();
  // GetVariable's answer ("" when the variable is not defined).
  std::wstring Variable(const wchar_t* name);

  TTestSite Site;
  TEventSink Events;
  TPropertySink Properties;
  ComPtr<IShockwaveFlash> Flash;
  ComPtr<IOleObject> Object;

private:
  void Connect(REFIID iid, IUnknown* sink, DWORD& cookie);
  void Disconnect(REFIID iid, DWORD& cookie);

  DWORD FFactoryCookie = 0;
  DWORD FEventCookie = 0;
  DWORD FPropertyCookie = 0;
};

}  // namespace flash_control_test
