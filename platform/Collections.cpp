#include "platform/Collections.h"

#include <algorithm>

// TCollection -------------------------------------------------------------------------------------

TCollection::TCollection(const TClassInfo& itemClass) : FItemClass(itemClass)
{
  if (!itemClass.InheritsFrom(TCollectionItem::StaticClass()))
    throw EInvalidOperation(Format("%s is not a collection item class", itemClass.ClassName));
}

TCollection::~TCollection()
{
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Add()
{
  if (!FItemClass.CreateItem)
    throw EInvalidOperation(Format("Cannot create an item of class %s", FItemClass.ClassName));
  return FItemClass.CreateItem(this);
}

TCollectionItem* TCollection::Insert(int index)
{
  if (index < 0 || index > Count())
    throw EListError(Format("List index out of bounds (%d)", index));
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index)
{
  CheckIndex(index);
  delete FItems[index];
}

void TCollection::Clear()
{
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

void TCollection::CheckIndex(int index) const
{
  if (index < 0 || index >= Count())
    throw EListError(Format("List index out of bounds (%d)", index));
}

TCollectionItem* TCollection::GetItem(int index) const
{
  CheckIndex(index);
  return FItems[index];
}

void TCollection::SetItem(int index, TCollectionItem* value)
{
  GetItem(index)->Assign(value);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
  const auto found = std::find_if(FItems.begin(), FItems.end(),
                                  [id](const TCollectionItem* item) { return item->FID == id; });
  return found == FItems.end() ? nullptr : *found;
}

void TCollection::EndUpdate()
{
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(TPersistent* source)
{
  auto* collection = dynamic_cast<TCollection*>(source);
  if (!collection) {
    inherited::Assign(source);
    return;
  }
  if (collection == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : collection->FItems) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed()
{
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
  std::erase(FItems, item);
  item->FCollection = nullptr;
  Changed();
}

// TCollectionItem ---------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection)
{
  try {
    SetCollection(collection);
  } catch (...) {
    // The collection's Update failed after taking us in; an item that was never made must not
    // stay in its list, or the collection would free it again.
    if (FCollection) std::erase(FCollection->FItems, this);
    throw;
  }
}

TCollectionItem::~TCollectionItem()
{
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
  if (collection == FCollection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::GetIndex() const
{
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
  const int current = GetIndex();
  if (current < 0 || index == current) return;
  FCollection->CheckIndex(index);
  auto& items = FCollection->FItems;
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

AnsiString TCollectionItem::GetDisplayName() const
{
  return ClassName();
}

void TCollectionItem::Changed(bool allItems)
{
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}
