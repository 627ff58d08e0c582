// Loading and playback. A hidden message window of the control's own runs both: loads are posted
// to it, so they happen after the requesting call returns, from the application's message loop;
// its timer advances the movie at its frame rate.
#include "flash_control/com/FlashControlWindows.h"

#include <algorithm>
#include <cmath>

#include "flash_control/com/Bstr.h"
#include "flash_control/com/MovieUrl.h"
#include "flash_control/com/Utf8.h"

using Microsoft::WRL::ComPtr;

namespace flash_control {

namespace {

constexpr UINT LoadMessage = WM_APP + 1;
constexpr UINT_PTR FrameTimer = 1;
// Used when a movie states no frame rate.
constexpr double DefaultFrameRate = 12;
// Ready states as the control reports them while a movie loads.
constexpr LONG ReadyLoading = 0;
constexpr LONG ReadyInteractive = 3;
constexpr LONG ReadyComplete = 4;

// The file's bytes, or none when it cannot be read. A file longer than `maxBytes` gives its first
// `maxBytes` when `truncate` is set, and none otherwise.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::u16string& path, size_t maxBytes,
                                                  bool truncate)
{
  HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<uint8_t>> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && (truncate || uint64_t(size.QuadPart) <= maxBytes)) {
    std::vector<uint8_t> bytes(size_t(std::min<uint64_t>(uint64_t(size.QuadPart), maxBytes)));
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD read = 0;
      const DWORD piece = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
      if (!::ReadFile(file, bytes.data() + done, piece, &read, nullptr) || read == 0) break;
      done += read;
    }
    if (done == bytes.size()) result = std::move(bytes);
  }
  CloseHandle(file);
  return result;
}

std::u16string FolderOf(const std::u16string& path)
{
  const size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator + 1);
}

swf::Variables ToEngine(const TVariables& variables)
{
  swf::Variables converted;
  for (const auto& [name, value] : variables) converted.emplace_back(ToUtf8(name), ToUtf8(value));
  return converted;
}

}  // namespace

// The message window

bool TFlashControl::TMessageWindow::Open()
{
  return Create(0, RECT{}, HWND_MESSAGE);
}

void TFlashControl::TMessageWindow::PostLoad()
{
  PostMessageW(Handle(), LoadMessage, 0, 0);
}

void TFlashControl::TMessageWindow::StartTimer(UINT interval)
{
  ::SetTimer(Handle(), FrameTimer, interval, nullptr);
}

void TFlashControl::TMessageWindow::StopTimer()
{
  KillTimer(Handle(), FrameTimer);
}

LRESULT TFlashControl::TMessageWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == LoadMessage) {
    const ComPtr<IUnknown> self = FOwner.KeepAlive();
    FOwner.RunPendingLoad();
    return 0;
  }
  if (message == WM_TIMER && wParam == FrameTimer) {
    const ComPtr<IUnknown> self = FOwner.KeepAlive();
    FOwner.AdvanceFrame();
    return 0;
  }
  return TWindow::WndProc(message, wParam, lParam);
}

// Loading

HRESULT TFlashControl::Initialize()
{
  FMessages = std::make_unique<TMessageWindow>(*this);
  if (!FMessages->Open()) return HRESULT_FROM_WIN32(GetLastError());
  FPlayer = std::make_unique<swf::Player>(static_cast<swf::Host*>(this));
  FPlayer->SetLoop(FState.Boolean(TStateSlot::Loop));
  return S_OK;
}

HRESULT TFlashControl::RequestLoad(int layer, std::u16string_view url)
{
  if (layer < 0) return E_INVALIDARG;
  FPendingLoads.push_back({layer, std::u16string(url)});
  FPercentLoaded = 0;
  FMessages->PostLoad();
  SetReadyState(ReadyLoading);
  return S_OK;
}

void TFlashControl::RunPendingLoad()
{
  if (FPendingLoads.empty()) return;
  const TLoadRequest request = std::move(FPendingLoads.front());
  FPendingLoads.pop_front();
  LoadLayer(request);
  // A new movie repaints everything.
  FPlayer->TakeDamage();
  Invalidate(nullptr);
  FirePendingCommands();
  // A handler of these events may ask for another movie: then loading goes on, and only the last
  // load completes.
  if (!FPendingLoads.empty()) return;
  SetReadyState(ReadyInteractive);
  if (!FPendingLoads.empty()) return;
  FPercentLoaded = 100;
  FireNumberEvent(1958, 100);
  if (!FPendingLoads.empty()) return;
  SetReadyState(ReadyComplete);
}

void TFlashControl::LoadLayer(const TLoadRequest& request)
{
  // An empty location, another scheme or an unreadable file leaves the layer empty.
  const std::optional<TMovieUrl> url = ParseMovieUrl(request.Url);
  std::optional<std::vector<uint8_t>> bytes;
  std::u16string path;
  if (url) {
    path = ResolvePath(FState.Text(TStateSlot::Base), url->Path);
    bytes = ReadFileBytes(path, swf::Limits().MaxMovieBytes, false);
  }
  if (bytes) {
    TVariables variables = url->Query;
    if (request.Layer == 0) {
      const TVariables flashVars = ParseQuery(FState.Text(TStateSlot::FlashVars));
      variables.insert(variables.end(), flashVars.begin(), flashVars.end());
    }
    if (!FPlayer->Load(request.Layer, *bytes, ToEngine(variables))) bytes.reset();
  }
  if (!bytes) FPlayer->Unload(request.Layer);
  if (request.Layer == 0) {
    FMovieFolder = bytes ? FolderOf(path) : std::u16string();
    FZoom.reset();
    if (!FState.Boolean(TStateSlot::Playing)) FPlayer->Stop();
  }
  StartFrameTimer();
}

void TFlashControl::StartFrameTimer()
{
  const std::optional<swf::MovieInfo> info = FPlayer->Info();
  if (!info) {
    StopFrameTimer();
    return;
  }
  const double rate = info->FrameRate > 0 ? info->FrameRate : DefaultFrameRate;
  FMessages->StartTimer(UINT(std::clamp(std::lround(1000 / rate), 1L, 60'000L)));
  FTimerRunning = true;
}

void TFlashControl::StopFrameTimer()
{
  if (!FTimerRunning) return;
  FMessages->StopTimer();
  FTimerRunning = false;
}

void TFlashControl::AdvanceFrame()
{
  FPlayer->Advance();
  AfterPlayerCall();
}

void TFlashControl::AfterPlayerCall()
{
  RepaintStage(FPlayer->TakeDamage());
  FirePendingCommands();
}

void TFlashControl::FirePendingCommands()
{
  std::vector<std::pair<std::u16string, std::u16string>> commands;
  commands.swap(FPendingCommands);
  for (const auto& [command, arguments] : commands) FireFSCommand(command, arguments);
}

// swf::Host

void TFlashControl::FSCommand(std::string_view command, std::string_view args)
{
  FPendingCommands.emplace_back(FromUtf8(command), FromUtf8(args));
}

void TFlashControl::GetUrl(std::string_view, std::string_view)
{
  // The control does not navigate: a movie's other URLs have nowhere to go.
}

std::optional<std::vector<uint8_t>> TFlashControl::ReadFile(std::string_view path, size_t maxBytes)
{
  // Relative names are relative to the Base folder, or else to the movie's own folder.
  const std::u16string base = FState.Text(TStateSlot::Base);
  const std::u16string name = FromUtf8(path);
  const std::optional<TMovieUrl> url = ParseMovieUrl(name);
  if (!url) return std::nullopt;
  return ReadFileBytes(ResolvePath(base.empty() ? FMovieFolder : base, url->Path), maxBytes, true);
}

}  // namespace flash_control
