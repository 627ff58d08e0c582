#include "platform/Components.h"

#include "platform/FormData.h"

#include <algorithm>

namespace {

bool IsIdentStart(char c)
{
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c)
{
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}

void AddOnce(std::vector<TComponent*>& list, TComponent* component)
{
  if (std::find(list.begin(), list.end(), component) == list.end()) list.push_back(component);
}

}  // namespace

bool IsValidIdent(std::string_view name)
{
  return !name.empty() && IsIdentStart(name[0]) &&
         std::all_of(name.begin(), name.end(), IsIdentChar);
}

TComponent::TComponent(TComponent* owner)
{
  if (!owner) return;
  try {
    owner->InsertComponent(this);
  } catch (...) {
    // The owner's Notification failed after taking us in; a component that was never made must
    // not stay in its list, or the owner would free it again.
    if (FOwner) std::erase(FOwner->FComponents, this);
    throw;
  }
}

TComponent::~TComponent()
{
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* watcher = FFreeNotifies.back();
    RemoveFreeNotification(watcher);
    watcher->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Publish(TPublisher<TComponent>& p)
{
  // The name is stored with the component's class, not as a property.
  p.Property("Name", &TComponent::GetName, &TComponent::SetName).Stored(false);
  p.Property("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0);
}

TComponent* TComponent::Components(int index) const
{
  if (index < 0 || index >= ComponentCount())
    throw EListError(Format("List index out of bounds (%d)", index));
  return FComponents[index];
}

int TComponent::ComponentIndex() const
{
  if (!FOwner) return -1;
  const auto& siblings = FOwner->FComponents;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->FName, name)) return component;
  return nullptr;
}

void TComponent::SetName(const AnsiString& name)
{
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError(Format("'%s' is not a valid component name", name));
  if (FOwner) FOwner->ValidateRename(this, FName, name);
  SetReference(false);
  FName = name;
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* component, std::string_view, std::string_view newName)
{
  if (TComponent* existing = FindComponent(newName); existing && existing != component)
    throw EComponentError(Format("A component named %s already exists", newName));
  // The owner's published field of that name must be able to hold the component.
  const TFieldEntry* field = newName.empty() ? nullptr : ClassType().FindField(newName);
  if (field && component && !component->InheritsFrom(field->FieldClass()))
    throw EComponentError(Format("Field %s of %s cannot hold a %s", newName, ClassName(),
                                 component->ClassName()));
}

void TComponent::SetReference(bool enable)
{
  if (!FOwner || FName.empty()) return;
  if (const TFieldEntry* field = FOwner->ClassType().FindField(FName))
    field->Set(*FOwner, enable ? this : nullptr);
}

void TComponent::SetDesigning(bool designing)
{
  if (designing)
    Include(csDesigning);
  else
    Exclude(csDesigning);
  for (TComponent* component : FComponents) component->SetDesigning(designing);
}

void TComponent::Destroying()
{
  if (FComponentState.Contains(csDestroying)) return;
  Include(csDestroying);
  for (TComponent* component : FComponents) component->Destroying();
}

void TComponent::InsertComponent(TComponent* component)
{
  if (!component || component->FOwner == this) return;
  ValidateRename(component, {}, component->FName);
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  FComponents.push_back(component);
  component->FOwner = this;
  component->SetReference(true);
  if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
  if (!component || component->FOwner != this) return;
  Notification(component, opRemove);
  // A dying owner's fields may belong to parts of it that are already gone.
  if (!FComponentState.Contains(csDestroying)) component->SetReference(false);
  std::erase(FComponents, component);
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
  while (!FComponents.empty()) {
    TComponent* component = FComponents.back();
    if (FComponentState.Contains(csDestroying)) {
      FComponents.pop_back();
      component->FOwner = nullptr;
    } else {
      RemoveComponent(component);
    }
    delete component;
  }
}

void TComponent::FreeNotification(TComponent* component)
{
  if (!component || component == this) return;
  AddOnce(FFreeNotifies, component);
  AddOnce(component->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
  if (!component) return;
  std::erase(FFreeNotifies, component);
  std::erase(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
  if (operation == opRemove) RemoveFreeNotification(component);
  // Every owned component hears of it too; the list may change while they do.
  const std::vector<TComponent*> owned = FComponents;
  for (TComponent* child : owned)
    if (std::find(FComponents.begin(), FComponents.end(), child) != FComponents.end())
      child->Notification(component, operation);
}

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root)
{
  if (root != this) return;
  for (TComponent* component : FComponents)
    if (!component->HasParent()) proc(component);
}

void TComponent::ReadState(TReader& reader)
{
  reader.ReadData(this);
}

void TComponent::WriteState(TWriter& writer)
{
  writer.WriteData(this);
}

void TComponent::Loaded()
{
  Exclude(csLoading);
}
