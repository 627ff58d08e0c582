#include "platform/Lists.h"

#include "platform/FormData.h"
#include "platform/Streams.h"

#include <algorithm>

// TList -------------------------------------------------------------------------------------------

TList::~TList()
{
  TList::Clear();
}

void TList::Error(const char* message, int data)
{
  throw EListError(Format(message, data));
}

void TList::CheckIndex(int index) const
{
  if (index < 0 || index >= Count()) Error("List index out of bounds (%d)", index);
}

void TList::Grow()
{
  const int capacity = Capacity();
  const int delta = capacity > 64 ? capacity / 4 : (capacity > 8 ? 16 : 4);
  SetCapacity(capacity + delta);
}

void TList::Notify(void*, TListNotification) {}

int TList::Add(void* item)
{
  const int index = Count();
  Insert(index, item);
  return index;
}

void TList::Insert(int index, void* item)
{
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  if (Count() == Capacity()) Grow();
  FItems.insert(FItems.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(int index)
{
  CheckIndex(index);
  void* item = FItems[index];
  FItems.erase(FItems.begin() + index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* item)
{
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item)
{
  const int index = IndexOf(item);
  if (index < 0) return nullptr;
  FItems.erase(FItems.begin() + index);
  if (item) Notify(item, lnExtracted);
  return item;
}

void TList::Clear()
{
  SetCount(0);
  SetCapacity(0);
}

void TList::Exchange(int index1, int index2)
{
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[index1], FItems[index2]);
}

void TList::Move(int curIndex, int newIndex)
{
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  void* item = FItems[curIndex];
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, item);
}

int TList::IndexOf(const void* item) const
{
  const auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void* TList::Get(int index) const
{
  CheckIndex(index);
  return FItems[index];
}

void TList::Put(int index, void* item)
{
  CheckIndex(index);
  void* old = FItems[index];
  if (old == item) return;
  FItems[index] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

void TList::SetCount(int count)
{
  if (count < 0) Error("List count out of bounds (%d)", count);
  if (count > Capacity()) SetCapacity(count);
  if (count > Count())
    FItems.resize(count, nullptr);
  else
    while (Count() > count) Delete(Count() - 1);
}

void TList::SetCapacity(int capacity)
{
  if (capacity < Count()) Error("List capacity out of bounds (%d)", capacity);
  if (capacity > Capacity()) {
    FItems.reserve(capacity);
  } else if (capacity < Capacity()) {
    std::vector<void*> items;
    items.reserve(capacity);
    items.assign(FItems.begin(), FItems.end());
    FItems.swap(items);
  }
}

// TStringList -------------------------------------------------------------------------------------

namespace {

[[noreturn]] void StringListError(const char* message)
{
  throw EStringListError(message);
}

}  // namespace

int TStringList::Compare(std::string_view a, std::string_view b) const
{
  return FCaseSensitive ? a.compare(b) : CompareText(a, b);
}

void TStringList::CheckIndex(int index) const
{
  if (index < 0 || index >= Count())
    throw EStringListError(Format("List index out of bounds (%d)", index));
}

void TStringList::InsertItem(int index, const AnsiString& text, TObject* object)
{
  FItems.insert(FItems.begin() + index, TItem{text, object});
}

int TStringList::Add(const AnsiString& text)
{
  return AddObject(text, nullptr);
}

int TStringList::AddObject(const AnsiString& text, TObject* object)
{
  int index = Count();
  if (FSorted && Find(text, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) StringListError("String list does not allow duplicates");
  }
  InsertItem(index, text, object);
  return index;
}

void TStringList::Insert(int index, const AnsiString& text)
{
  InsertObject(index, text, nullptr);
}

void TStringList::InsertObject(int index, const AnsiString& text, TObject* object)
{
  if (FSorted) StringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count())
    throw EStringListError(Format("List index out of bounds (%d)", index));
  InsertItem(index, text, object);
}

void TStringList::Delete(int index)
{
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

void TStringList::Clear()
{
  FItems.clear();
}

void TStringList::Exchange(int index1, int index2)
{
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[index1], FItems[index2]);
}

void TStringList::Move(int curIndex, int newIndex)
{
  if (curIndex == newIndex) return;
  if (FSorted) StringListError("Operation not allowed on sorted list");
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  TItem item = std::move(FItems[curIndex]);
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, std::move(item));
}

const AnsiString& TStringList::Get(int index) const
{
  CheckIndex(index);
  return FItems[index].Text;
}

void TStringList::Put(int index, const AnsiString& text)
{
  if (FSorted) StringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  FItems[index].Text = text;
}

TObject* TStringList::GetObject(int index) const
{
  CheckIndex(index);
  return FItems[index].Object;
}

void TStringList::PutObject(int index, TObject* object)
{
  CheckIndex(index);
  FItems[index].Object = object;
}

int TStringList::IndexOf(std::string_view text) const
{
  if (FSorted) {
    int index = 0;
    return Find(text, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (Compare(FItems[i].Text, text) == 0) return i;
  return -1;
}

int TStringList::IndexOfObject(const TObject* object) const
{
  for (int i = 0; i < Count(); ++i)
    if (FItems[i].Object == object) return i;
  return -1;
}

bool TStringList::Find(std::string_view text, int& index) const
{
  // The first position not below `text`, so that a run of duplicates is found at its start.
  const auto found = std::lower_bound(FItems.begin(), FItems.end(), text,
                                      [this](const TItem& item, std::string_view value) {
                                        return Compare(item.Text, value) < 0;
                                      });
  index = static_cast<int>(found - FItems.begin());
  return found != FItems.end() && Compare(found->Text, text) == 0;
}

void TStringList::Sort()
{
  std::stable_sort(FItems.begin(), FItems.end(), [this](const TItem& a, const TItem& b) {
    return Compare(a.Text, b.Text) < 0;
  });
}

void TStringList::SetSorted(bool sorted)
{
  if (sorted && !FSorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
  if (caseSensitive == FCaseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) Sort();
}

AnsiString TStringList::GetText() const
{
  AnsiString text;
  for (const TItem& item : FItems) {
    text += item.Text;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(std::string_view text)
{
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    Add(AnsiString(text.substr(start, end - start)));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

void TStringList::LoadFromStream(TStream& stream)
{
  const int64_t size = stream.GetSize() - stream.GetPosition();
  AnsiString text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  SetText(text);
}

void TStringList::SaveToStream(TStream& stream) const
{
  const AnsiString text = GetText();
  stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TStringList::Assign(TPersistent* source)
{
  if (auto* list = dynamic_cast<TStringList*>(source)) {
    if (list == this) return;
    Clear();
    for (const TItem& item : list->FItems) AddObject(item.Text, item.Object);
    return;
  }
  inherited::Assign(source);
}

void TStringList::DefineProperties(TFiler& filer)
{
  filer.DefineProperty(
    "Strings",
    [this](TReader& reader) {
      Clear();
      reader.ReadListBegin();
      while (!reader.EndOfList()) Add(reader.ReadString());
      reader.ReadListEnd();
    },
    [this](TWriter& writer) {
      writer.WriteListBegin();
      for (const TItem& item : FItems) writer.WriteString(item.Text);
      writer.WriteListEnd();
    },
    Count() > 0);
}
