#include <gtest/gtest.h>

#include "platform/Lists.h"
#include "platform/Streams.h"

#include <string>
#include <vector>

namespace {

// Records what the list tells its descendants, as an owning list would see it.
class TRecordingList : public TList {
public:
  std::vector<std::string> Events;

protected:
  void Notify(void* item, TListNotification action) override
  {
    static const char* const Names[] = {"added ", "extracted ", "deleted "};
    Events.push_back(Names[action] + std::string(static_cast<const char*>(item)));
  }
};

char A[] = "a", B[] = "b", C[] = "c";

}  // namespace

TEST(TList, KeepsOrderThroughInsertMoveAndExchange)
{
  TList list;
  list.Add(A);
  list.Add(C);
  list.Insert(1, B);
  list.Move(0, 2);
  EXPECT_EQ((std::vector<void*>{B, C, A}), (std::vector<void*>{list[0], list[1], list[2]}));
  list.Exchange(0, 2);
  EXPECT_EQ(A, list.First());
  EXPECT_EQ(B, list.Last());
  EXPECT_EQ(1, list.IndexOf(C));
  EXPECT_EQ(-1, list.IndexOf(nullptr));

  list.SetCount(5);
  EXPECT_EQ(nullptr, list[4]);
  list.SetCount(1);
  EXPECT_EQ(1, list.Count());
}

TEST(TList, ReportsIndexesOutOfBounds)
{
  TList list;
  list.Add(A);
  const auto message = [&](auto action) {
    try {
      action();
    } catch (const EListError& e) {
      return e.Message;
    }
    return AnsiString("no error");
  };
  EXPECT_EQ("List index out of bounds (1)", message([&] { list.Get(1); }));
  EXPECT_EQ("List index out of bounds (-1)", message([&] { list.Delete(-1); }));
  EXPECT_EQ("List index out of bounds (3)", message([&] { list.Insert(3, B); }));
  EXPECT_EQ("List index out of bounds (2)", message([&] { list.Move(0, 2); }));
  EXPECT_EQ("List count out of bounds (-1)", message([&] { list.SetCount(-1); }));
}

TEST(TList, NotifiesEveryItemThatComesOrGoes)
{
  TRecordingList list;
  list.Add(A);
  list.Add(nullptr);
  list.Add(B);
  list.Put(0, C);
  EXPECT_EQ(B, list.Extract(B));
  list.Remove(C);
  list.Add(A);
  list.Clear();
  EXPECT_EQ((std::vector<std::string>{"added a", "added b", "deleted a", "added c", "extracted b",
                                      "deleted c", "added a", "deleted a"}),
            list.Events);
  EXPECT_EQ(0, list.Count());
}

TEST(TStringList, SortedListsFollowTheDuplicatesRule)
{
  for (const auto& [rule, count] : {std::pair{dupIgnore, 2}, {dupAccept, 3}}) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(rule);
    list.Add("beta");
    list.Add("Alpha");
    EXPECT_EQ(1, list.Add("BETA"));
    EXPECT_EQ(count, list.Count());
    EXPECT_EQ("Alpha", list[0]);
  }
  TStringList strict;
  strict.SetSorted(true);
  strict.SetDuplicates(dupError);
  strict.Add("a");
  EXPECT_THROW(strict.Add("A"), EStringListError);
  EXPECT_THROW(strict.Insert(0, "b"), EStringListError);
}

TEST(TStringList, MatchesCaseOnlyWhenAsked)
{
  TStringList list;
  list.Add("Close");
  list.Add("Min");
  EXPECT_EQ(0, list.IndexOf("CLOSE"));
  list.SetCaseSensitive(true);
  EXPECT_EQ(-1, list.IndexOf("CLOSE"));
  EXPECT_EQ(1, list.IndexOf("Min"));
}

TEST(TStringList, ObjectsTravelWithTheirStrings)
{
  TObject first, second;
  TStringList list;
  list.AddObject("z", &first);
  list.AddObject("a", &second);
  list.SetSorted(true);
  EXPECT_EQ(&second, list.GetObject(0));
  EXPECT_EQ(1, list.IndexOfObject(&first));

  TStringList copy;
  copy.Add("old");
  copy.Assign(&list);
  ASSERT_EQ(2, copy.Count());
  EXPECT_EQ("z", copy[1]);
  EXPECT_EQ(&first, copy.GetObject(1));
  EXPECT_THROW(list.GetObject(2), EStringListError);
}

TEST(TStringList, TextSplitsAtEveryLineBreakAndStreams)
{
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(6, list.Count());
  EXPECT_EQ("", list[4]);
  EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n", list.GetText());

  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TStringList loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(list.GetText(), loaded.GetText());
}

TEST(TStringList, AssignFromAnythingElseIsTheAssignmentError)
{
  TStringList list;
  try {
    list.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ("Cannot assign a nil to a TStringList", e.Message);
  }
}
