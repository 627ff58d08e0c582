#include <gtest/gtest.h>

#include "form_fixtures.h"

namespace {

// An item that adds nothing, so it cannot be copied.
class TPlainItem : public TCollectionItem {
  QV_CLASS(TPlainItem, TCollectionItem)
public:
  explicit TPlainItem(TCollection* collection) : TCollectionItem(collection) {}
};

// Counts the changes it reports.
class TCountingCollection : public TCollection {
public:
  TCountingCollection() : TCollection(TTestItem::StaticClass()) {}
  int Updates = 0;

protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

TTestItem* ItemOf(const TCollection& collection, int index)
{
  return static_cast<TTestItem*>(collection.GetItem(index));
}

}  // namespace

TEST(TCollection, CreatesItemsOfItsClassAndKeepsThemInOrder)
{
  TCollection collection(TTestItem::StaticClass());
  auto* first = static_cast<TTestItem*>(collection.Add());
  first->Caption = "first";
  auto* second = static_cast<TTestItem*>(collection.Insert(0));
  second->Caption = "second";
  EXPECT_EQ(2, collection.Count());
  EXPECT_EQ(second, collection.GetItem(0));
  EXPECT_EQ(1, first->GetIndex());
  EXPECT_EQ(&collection, first->GetOwner());
  EXPECT_EQ(nullptr, collection.GetOwner());
  EXPECT_EQ("first", first->GetDisplayName());
  EXPECT_EQ(first, collection.FindItemID(first->ID()));

  first->SetIndex(0);
  EXPECT_EQ(first, collection.GetItem(0));
  delete first;
  EXPECT_EQ(1, collection.Count());
  collection.Delete(0);
  EXPECT_EQ(0, collection.Count());
  try {
    collection.GetItem(0);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ("List index out of bounds (0)", e.Message);
  }
  EXPECT_THROW(TCollection(TTestWidget::StaticClass()), EInvalidOperation);
}

TEST(TCollection, AssignCopiesAWholeCollection)
{
  TCollection source(TTestItem::StaticClass()), copy(TTestItem::StaticClass());
  for (const char* caption : {"a", "b", "c"})
    static_cast<TTestItem*>(source.Add())->Caption = caption;
  ItemOf(source, 1)->Width = 7;
  copy.Add();

  copy.Assign(&source);
  ASSERT_EQ(3, copy.Count());
  EXPECT_EQ("c", ItemOf(copy, 2)->Caption);
  EXPECT_EQ(7, ItemOf(copy, 1)->Width);
  EXPECT_NE(ItemOf(source, 0), ItemOf(copy, 0));

  // Items that cannot copy themselves make the whole copy fail with the assignment error.
  TCollection plain(TPlainItem::StaticClass()), plainCopy(TPlainItem::StaticClass());
  plain.Add();
  try {
    plainCopy.Assign(&plain);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ("Cannot assign a TPlainItem to a TPlainItem", e.Message);
  }
}

TEST(TCollection, ReportsChangesOnceAfterAnUpdate)
{
  TCountingCollection collection;
  collection.Add();
  EXPECT_EQ(1, collection.Updates);
  collection.BeginUpdate();
  collection.Add();
  collection.Add();
  collection.Delete(0);
  EXPECT_EQ(1, collection.Updates);
  collection.EndUpdate();
  EXPECT_EQ(2, collection.Updates);
}

TEST(TCollection, AnItemWhoseArrivalFailsIsNotKept)
{
  struct TRefusingCollection : TCollection {
    TRefusingCollection() : TCollection(TTestItem::StaticClass()) {}
    void Update(TCollectionItem*) override { throw EInvalidOperation("refused"); }
  };
  TRefusingCollection collection;
  EXPECT_THROW(collection.Add(), EInvalidOperation);
  EXPECT_EQ(0, collection.Count());
}
