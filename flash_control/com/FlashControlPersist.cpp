// Persistence: the control's state in and out of a stream.
#include "flash_control/com/FlashControl.h"

#include <algorithm>

namespace flash_control {

namespace {

class TStreamSource final : public TByteSource {
public:
  explicit TStreamSource(IStream& stream) : FStream(stream) {}

  bool Read(void* buffer, size_t count) override
  {
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (count > 0) {
      ULONG done = 0;
      const auto piece = static_cast<ULONG>(std::min<size_t>(count, 1u << 30));
      if (FAILED(FStream.Read(bytes, piece, &done)) || done == 0) return false;
      bytes += done;
      count -= done;
    }
    return true;
  }

private:
  IStream& FStream;
};

}  // namespace

void TFlashControl::ApplyState(const TControlState& state)
{
  FState = state;
  FDirty = false;
  FPlayer->SetLoop(FState.Boolean(TStateSlot::Loop));
  ApplyBackgroundColor();
  FZoom.reset();
  Invalidate(nullptr);
  const std::u16string movie = FState.Text(TStateSlot::Movie);
  if (!movie.empty()) RequestLoad(0, movie);
}

// IPersist, IPersistStreamInit

HRESULT STDMETHODCALLTYPE TFlashControl::GetClassID(CLSID* clsid)
{
  if (!clsid) return E_POINTER;
  *clsid = CLSID_ShockwaveFlash;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::IsDirty()
{
  return FDirty ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Load(LPSTREAM stream)
{
  if (!stream) return E_POINTER;
  TStreamSource source(*stream);
  const std::optional<TControlState> state = TControlState::Read(source);
  if (!state) return E_FAIL;
  ApplyState(*state);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::Save(LPSTREAM stream, BOOL clearDirty)
{
  if (!stream) return E_POINTER;
  const std::vector<uint8_t> bytes = FState.Write();
  ULONG written = 0;
  const HRESULT hr = stream->Write(bytes.data(), ULONG(bytes.size()), &written);
  if (FAILED(hr)) return hr;
  if (written != bytes.size()) return STG_E_MEDIUMFULL;
  if (clearDirty) FDirty = false;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::GetSizeMax(ULARGE_INTEGER* size)
{
  if (!size) return E_POINTER;
  size->QuadPart = FState.Write().size();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TFlashControl::InitNew()
{
  ApplyState(TControlState());
  return S_OK;
}

}  // namespace flash_control
