// The enumerators of the control's connection points and of their connections: a snapshot of
// counted items handed out one reference per copy.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <utility>
#include <vector>

#include "flash_control/com/ComObject.h"

namespace flash_control {

inline IConnectionPoint* AddRefItem(IConnectionPoint* point)
{
  point->AddRef();
  return point;
}

inline void ReleaseItem(IConnectionPoint* point)
{
  point->Release();
}

inline CONNECTDATA AddRefItem(const CONNECTDATA& connection)
{
  connection.pUnk->AddRef();
  return connection;
}

inline void ReleaseItem(const CONNECTDATA& connection)
{
  connection.pUnk->Release();
}

template <class IEnum, class Item>
class TEnumerator final : public TComObject<TEnumerator<IEnum, Item>, IEnum> {
public:
  // `items` each carry a reference that the enumerator takes over. `owner` is kept alive for the
  // enumerator's lifetime.
  static HRESULT Create(std::vector<Item> items, IUnknown* owner, IEnum** result)
  {
    if (!result) {
      for (const Item& item : items) ReleaseItem(item);
      return E_POINTER;
    }
    *result = new TEnumerator(std::move(items), owner, 0);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* items, ULONG* fetched) override
  {
    if (!items || (!fetched && count != 1)) return E_POINTER;
    ULONG done = 0;
    for (; done < count && FPosition < FItems.size(); ++done)
      items[done] = AddRefItem(FItems[FPosition++]);
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
  {
    const size_t left = FItems.size() - FPosition;
    FPosition += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Reset() override
  {
    FPosition = 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Clone(IEnum** result) override
  {
    if (!result) return E_POINTER;
    std::vector<Item> copy;
    for (const Item& item : FItems) copy.push_back(AddRefItem(item));
    *result = new TEnumerator(std::move(copy), FOwner.Get(), FPosition);
    return S_OK;
  }

private:
  TEnumerator(std::vector<Item> items, IUnknown* owner, size_t position)
    : FItems(std::move(items)), FOwner(owner), FPosition(position)
  {
  }

  ~TEnumerator()
  {
    for (const Item& item : FItems) ReleaseItem(item);
  }

  friend class TComObject<TEnumerator, IEnum>;

  std::vector<Item> FItems;
  Microsoft::WRL::ComPtr<IUnknown> FOwner;
  size_t FPosition;
};

}  // namespace flash_control
