// TCollection and TCollectionItem: an owned list of items of one class, stored in form data as
// the value of a property of its owner. Pure: no Windows header.
#pragma once

#include "platform/Classes.h"

#include <vector>

// A collection owns its items and frees them. Indexes outside the collection raise EListError
// "List index out of bounds (n)".
class TCollection : public TPersistent {
  QV_CLASS(TCollection, TPersistent)
public:
  // `itemClass` is TCollectionItem or a descendant constructible from its collection.
  explicit TCollection(const TClassInfo& itemClass);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return FItemClass; }
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* GetItem(int index) const;
  // Assigns `value` to the item at `index`.
  void SetItem(int index, TCollectionItem* value);
  TCollectionItem* FindItemID(int id) const;

  // Changes between BeginUpdate and the matching EndUpdate are reported once, at the end.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // A collection takes a copy of another's items, each copied with its Assign.
  void Assign(TPersistent* source) override;

protected:
  // Called after a change, outside any update: `item` changed, or the whole collection when null.
  virtual void Update(TCollectionItem* item);
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void CheckIndex(int index) const;

  const TClassInfo& FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

class TCollectionItem : public TPersistent {
  QV_CLASS(TCollectionItem, TPersistent)
public:
  // Joins `collection` as its last item, when given.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or none).
  void SetCollection(TCollection* collection);
  TPersistent* GetOwner() override { return FCollection; }
  int ID() const { return FID; }
  int GetIndex() const;
  void SetIndex(int index);
  // The name a collection editor shows; by default the class name.
  virtual AnsiString GetDisplayName() const;

protected:
  // Reports a change of this item, or of every item when `allItems`.
  void Changed(bool allItems);

private:
  friend class TCollection;

  TCollection* FCollection = nullptr;
  int FID = 0;
};
