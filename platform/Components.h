// TComponent: an owned, named object that form data creates and stores. Pure: no Windows header.
#pragma once

#include "platform/Classes.h"

#include <functional>
#include <vector>

class TReader;
class TWriter;

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning };
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* child)>;

// A component belongs to its owner, which frees it. Its name, when not empty, is a valid identifier
// unique among the components of its owner, and the owner's published field of that name points at
// it. Components are told (Notification) when a component they own, or one they asked about with
// FreeNotification, comes or goes.
//
// A descendant whose destructor tears down components it owns before TComponent's destructor does
// (a windowed control freeing its child controls) calls Destroying() first, so that the dying
// components no longer reach into the parts of their owner that are already gone.
class TComponent : public TPersistent {
  QV_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() override { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises EListError "List index out of bounds (n)".
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  // An owned component by name, or nullptr; names match with CompareText.
  TComponent* FindComponent(std::string_view name) const;

  const AnsiString& GetName() const { return FName; }
  // Raises EComponentError "'name' is not a valid component name" or "A component named name
  // already exists".
  virtual void SetName(const AnsiString& name);
  int32_t GetTag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }

  TComponentState ComponentState() const { return FComponentState; }
  // Marks this component and everything it owns as being designed.
  void SetDesigning(bool designing);
  // Sets csDestroying here and on every owned component.
  void Destroying();

  // Takes `component` from its current owner, if any.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  // Asks to be told (Notification with opRemove) when `component` is destroyed, even though this
  // component does not own it.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Form data: which component holds this one (a control's parent) and which components are stored
  // inside this one. By default a component has no parent, and the root of a form stores the
  // components it owns that have none.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);

  // Reads or writes this component's properties and children; descendants may prepare or finish.
  virtual void ReadState(TReader& reader);
  virtual void WriteState(TWriter& writer);

protected:
  // Called once the whole form has been read and every reference resolved; clears csLoading.
  virtual void Loaded();
  virtual void Notification(TComponent* component, TOperation operation);
  // Raises EComponentError when an owned component cannot take `newName`.
  virtual void ValidateRename(TComponent* component, std::string_view curName,
                              std::string_view newName);

private:
  static void Publish(TPublisher<TComponent>& p);

  void SetReference(bool enable);
  void Include(TComponentStateItem item) { FComponentState.Include(item); }
  void Exclude(TComponentStateItem item) { FComponentState.Exclude(item); }

  friend class TReader;
  friend class TWriter;

  TComponent* FOwner = nullptr;
  AnsiString FName;
  int32_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// Whether `name` is an identifier: a letter or underscore, then letters, digits or underscores.
bool IsValidIdent(std::string_view name);
