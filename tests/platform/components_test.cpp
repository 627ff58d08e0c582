#include <gtest/gtest.h>

#include "form_fixtures.h"

#include <string>
#include <vector>

namespace {

// Records the notifications it receives.
class TWatcher : public TComponent {
  QV_CLASS(TWatcher, TComponent)
public:
  explicit TWatcher(TComponent* owner) : TComponent(owner) {}

  std::vector<std::string> Heard;

protected:
  void Notification(TComponent* component, TOperation operation) override
  {
    inherited::Notification(component, operation);
    Heard.push_back((operation == opInsert ? "insert " : "remove ") + component->GetName());
  }
};

AnsiString RenameError(TComponent& component, const AnsiString& name)
{
  try {
    component.SetName(name);
  } catch (const EComponentError& e) {
    return e.Message;
  }
  return "no error";
}

}  // namespace

TEST(TComponent, OwnerFreesWhatItOwnsAndForgetsWhatGoes)
{
  const int live = TTestWidget::LiveCount;
  {
    TTestForm form(nullptr);
    auto* panel = new TTestWidget(&form);
    panel->SetName("Panel");
    new TTestWidget(&form);
    EXPECT_EQ(form.Panel, panel);
    EXPECT_EQ(2, form.ComponentCount());
    EXPECT_EQ(0, panel->ComponentIndex());

    // A component freed on its own leaves its owner and clears the owner's field.
    delete panel;
    EXPECT_EQ(nullptr, form.Panel);
    EXPECT_EQ(1, form.ComponentCount());
    EXPECT_THROW(form.Components(1), EListError);
  }
  EXPECT_EQ(live, TTestWidget::LiveCount);
}

TEST(TComponent, NamesAreIdentifiersUniqueWithinTheOwner)
{
  TTestForm form(nullptr);
  TTestWidget first(nullptr), second(nullptr);
  form.InsertComponent(&first);
  form.InsertComponent(&second);
  first.SetName("Panel");
  EXPECT_EQ(&first, form.FindComponent("PANEL"));

  for (const char* bad : {"1Panel", "Pan el", "Pan-el", "Pan\xE9l"})
    EXPECT_EQ(Format("'%s' is not a valid component name", bad), RenameError(second, bad));
  EXPECT_EQ("A component named panel already exists", RenameError(second, "panel"));
  EXPECT_EQ("no error", RenameError(second, "_panel2"));

  // Renaming moves the form's field along with the name.
  first.SetName("Other");
  EXPECT_EQ(nullptr, form.Panel);
  second.SetName("Panel");
  EXPECT_EQ(&second, form.Panel);
  form.RemoveComponent(&first);
  form.RemoveComponent(&second);
  EXPECT_EQ(nullptr, form.Panel);
}

TEST(TComponent, AFieldOnlyHoldsItsOwnClass)
{
  TTestForm form(nullptr);
  auto* timer = new TTestTimer(&form);
  EXPECT_EQ("Field Panel of TTestForm cannot hold a TTestTimer", RenameError(*timer, "Panel"));
  EXPECT_EQ(nullptr, form.Panel);
  EXPECT_EQ("", timer->GetName());
}

TEST(TComponent, InsertingTakesTheComponentFromItsOldOwner)
{
  TTestForm a(nullptr), b(nullptr);
  auto* panel = new TTestWidget(&a);
  panel->SetName("Panel");
  b.InsertComponent(panel);
  EXPECT_EQ(&b, panel->Owner());
  EXPECT_EQ(0, a.ComponentCount());
  EXPECT_EQ(nullptr, a.Panel);
  EXPECT_EQ(panel, b.Panel);

  // A name taken in the new owner keeps the component where it was.
  auto* other = new TTestWidget(&a);
  other->SetName("Panel");
  EXPECT_THROW(b.InsertComponent(other), EComponentError);
  EXPECT_EQ(&a, other->Owner());
}

TEST(TComponent, OwnersAndWatchersHearOfComingsAndGoings)
{
  TWatcher owner(nullptr);
  auto* sibling = new TWatcher(nullptr);
  sibling->SetName("Sibling");
  owner.InsertComponent(sibling);
  auto* child = new TComponent(nullptr);
  child->SetName("Child");
  owner.InsertComponent(child);
  // A component of no common owner asks to hear of the child's end.
  TWatcher outsider(nullptr);
  outsider.FreeNotification(child);

  delete child;
  const std::vector<std::string> all{"insert Sibling", "insert Child", "remove Child"};
  EXPECT_EQ(all, owner.Heard);
  EXPECT_EQ(all, sibling->Heard);
  EXPECT_EQ((std::vector<std::string>{"remove Child"}), outsider.Heard);
}

TEST(TComponent, ReferencesAcrossOwnersAreClearedWhenTheTargetGoes)
{
  TTestForm form(nullptr);
  auto* button = new TTestWidget(&form);
  {
    TTestTimer timer(nullptr);
    button->SetBuddy(&timer);
  }
  EXPECT_EQ(nullptr, button->GetBuddy());
}

TEST(TComponent, AComponentItsOwnerRefusesIsNotKept)
{
  struct TRefusingOwner : TComponent {
    using TComponent::TComponent;
    void Notification(TComponent* component, TOperation operation) override
    {
      TComponent::Notification(component, operation);
      if (operation == opInsert) throw EComponentError("refused");
    }
  };
  TRefusingOwner owner(nullptr);
  EXPECT_THROW(new TComponent(&owner), EComponentError);
  EXPECT_EQ(0, owner.ComponentCount());
}

TEST(TComponent, DesigningReachesEveryOwnedComponent)
{
  TComponent form(nullptr);
  auto* early = new TComponent(&form);
  form.SetDesigning(true);
  auto* late = new TComponent(&form);
  EXPECT_TRUE(early->ComponentState().Contains(csDesigning));
  EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
  form.SetDesigning(false);
  EXPECT_FALSE(late->ComponentState().Contains(csDesigning));
}

TEST(TComponent, DestroyingMarksTheWholeTree)
{
  struct TProbe : TComponent {
    using TComponent::TComponent;
    bool* SawOwnerDying = nullptr;
    ~TProbe() override
    {
      *SawOwnerDying = ComponentState().Contains(csDestroying);
    }
  };
  bool sawDying = false;
  auto* owner = new TComponent(nullptr);
  (new TProbe(owner))->SawOwnerDying = &sawDying;
  delete owner;
  EXPECT_TRUE(sawDying);
}
