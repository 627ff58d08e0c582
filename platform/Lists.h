// TList, a list of untyped pointers, and TStringList, a list of strings with attached objects.
// Pure: no Windows header.
#pragma once

#include "platform/Classes.h"

#include <vector>

class TStream;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// A list of pointers. Indexes outside the list raise EListError "List index out of bounds (n)".
// Descendants that own their items override Notify (or Clear) to free them; the destructor runs
// TList::Clear only, so such a descendant clears itself in its own destructor.
class TList : public TObject {
  QV_CLASS(TList, TObject)
public:
  TList() = default;
  ~TList() override;

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Removes the first occurrence of `item`; returns its former index or -1.
  int Remove(void* item);
  // Takes the first occurrence of `item` out without deleting it (lnExtracted); returns it or
  // nullptr.
  void* Extract(void* item);
  virtual void Clear();
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  int IndexOf(const void* item) const;

  void* Get(int index) const;
  void Put(int index, void* item);
  void* operator[](int index) const { return Get(index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }

  int Count() const { return static_cast<int>(FItems.size()); }
  // Growing adds nil items; shrinking deletes the items beyond the new count.
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(FItems.capacity()); }
  void SetCapacity(int capacity);

protected:
  // Makes room for at least one more item.
  virtual void Grow();
  // Told about every non-nil item that enters or leaves the list.
  virtual void Notify(void* item, TListNotification action);
  [[noreturn]] static void Error(const char* message, int data);

private:
  void CheckIndex(int index) const;

  std::vector<void*> FItems;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list of strings, each with an optional object (not owned). Unless CaseSensitive is set, strings
// compare with CompareText. A sorted list keeps its order on Add and finds by binary search.
class TStringList : public TPersistent {
  QV_CLASS(TStringList, TPersistent)
public:
  TStringList() = default;

  int Add(const AnsiString& text);
  int AddObject(const AnsiString& text, TObject* object);
  void Insert(int index, const AnsiString& text);
  void InsertObject(int index, const AnsiString& text, TObject* object);
  void Delete(int index);
  void Clear();
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);

  int Count() const { return static_cast<int>(FItems.size()); }
  const AnsiString& Get(int index) const;
  void Put(int index, const AnsiString& text);
  const AnsiString& operator[](int index) const { return Get(index); }
  TObject* GetObject(int index) const;
  void PutObject(int index, TObject* object);

  int IndexOf(std::string_view text) const;
  int IndexOfObject(const TObject* object) const;
  // For a sorted list: true when `text` is present; `index` is its position, or where it would go.
  bool Find(std::string_view text, int& index) const;
  void Sort();

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  bool GetCaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);

  // The strings as lines ending in CR LF. Setting splits at CR LF, LF or CR.
  AnsiString GetText() const;
  void SetText(std::string_view text);
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  // Copies the strings and objects of another string list.
  void Assign(TPersistent* source) override;

protected:
  // Form data keeps the strings as the list "Strings".
  void DefineProperties(TFiler& filer) override;

private:
  struct TItem {
    AnsiString Text;
    TObject* Object = nullptr;
  };

  int Compare(std::string_view a, std::string_view b) const;
  void CheckIndex(int index) const;
  void InsertItem(int index, const AnsiString& text, TObject* object);

  std::vector<TItem> FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};
