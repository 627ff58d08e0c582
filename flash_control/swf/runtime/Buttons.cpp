// Stage: buttons under the pointer, their states and the actions of their transitions.
#include "flash_control/swf/runtime/Bounds.h"
#include "flash_control/swf/runtime/Stage.h"

namespace swf {

namespace {

// The topmost visible button at (x, y) among `object` and what it holds.
ButtonObject* FindButton(DisplayObject& object, int32_t x, int32_t y, uint32_t nesting)
{
  if (!object.Visible || object.ClipDepth)
    return nullptr;
  if (object.GetKind() == DisplayObject::Kind::Button) {
    auto& button = static_cast<ButtonObject&>(object);
    return HitButton(object.GetMovie(), button.Definition, WorldTransform(object), x, y, nesting) ? &button : nullptr;
  }
  if (object.GetKind() != DisplayObject::Kind::Sprite)
    return nullptr;
  for (auto it = object.Children.rbegin(); it != object.Children.rend(); ++it) {
    if (ButtonObject* found = FindButton(*it->second, x, y, nesting))
      return found;
  }
  return nullptr;
}

}  // namespace

ButtonObject* Stage::ButtonAt(int32_t x, int32_t y) const
{
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    if (ButtonObject* found = FindButton(*it->second, x, y, limits_.MaxNesting))
      return found;
  }
  return nullptr;
}

void Stage::SetVisual(ButtonObject& button, ButtonVisual visual)
{
  if (button.Visual == visual)
    return;
  button.Visual = visual;
  ShowVisual(button);
}

// Puts the characters of the button's current state in it.
void Stage::ShowVisual(ButtonObject& button)
{
  for (const auto& [depth, child] : button.Children)
    child->Parent = nullptr;
  button.Children.clear();
  const auto& records = button.Definition.Records;
  for (size_t i = 0; i < records.size(); ++i) {
    const ButtonRecord& record = records[i];
    if ((record.States & static_cast<uint8_t>(button.Visual)) == 0)
      continue;
    Placement placement;
    placement.CharacterId = record.CharacterId;
    placement.Transform = record.Transform;
    placement.Colors = record.Colors;
    placement.Id = static_cast<uint32_t>(i + 1);
    Create(button, record.Depth, placement);
  }
}

void Stage::RunButtonActions(ButtonObject& button, uint16_t condition)
{
  DisplayObject* parent = button.Parent;
  if (parent == nullptr || parent->GetKind() != DisplayObject::Kind::Sprite)
    return;
  for (const ButtonAction& action : button.Definition.Actions) {
    if (action.Conditions & condition)
      Queue(static_cast<SpriteObject&>(*parent), action.Actions);
  }
}

void Stage::UpdateHover(ButtonObject* over)
{
  const auto hover = hover_.lock();
  if (hover.get() == over)
    return;
  if (hover) {
    SetVisual(*hover, ButtonVisual::Up);
    RunButtonActions(*hover, kOverUpToIdle);
  }
  hover_.reset();
  if (over) {
    hover_ = std::static_pointer_cast<ButtonObject>(over->shared_from_this());
    SetVisual(*over, ButtonVisual::Over);
    RunButtonActions(*over, kIdleToOverUp);
  }
}

void Stage::PointerMove(int32_t x, int32_t y)
{
  pointerX_ = x, pointerY_ = y;
  StartTurn();
  ButtonObject* over = ButtonAt(x, y);
  if (const auto pressed = pressed_.lock()) {
    const bool inside = over == pressed.get();
    if (inside != pressedInside_) {
      pressedInside_ = inside;
      SetVisual(*pressed, inside ? ButtonVisual::Down : ButtonVisual::Up);
      RunButtonActions(*pressed, inside ? kOutDownToOverDown : kOverDownToOutDown);
    }
  } else {
    UpdateHover(over);
  }
  RunScripts();
}

void Stage::PointerDown(int32_t x, int32_t y)
{
  PointerMove(x, y);
  StartTurn();
  if (const auto hover = hover_.lock(); hover && pressed_.expired()) {
    pressed_ = hover;
    pressedInside_ = true;
    SetVisual(*hover, ButtonVisual::Down);
    RunButtonActions(*hover, kOverUpToOverDown);
  }
  RunScripts();
}

void Stage::PointerUp(int32_t x, int32_t y)
{
  pointerX_ = x, pointerY_ = y;
  StartTurn();
  if (const auto pressed = pressed_.lock()) {
    pressed_.reset();
    if (ButtonAt(x, y) == pressed.get()) {
      SetVisual(*pressed, ButtonVisual::Over);
      RunButtonActions(*pressed, kOverDownToOverUp);
    } else {
      SetVisual(*pressed, ButtonVisual::Up);
      RunButtonActions(*pressed, kOutDownToIdle);
      if (hover_.lock() == pressed)
        hover_.reset();
    }
  }
  pressed_.reset();
  RunScripts();
  // The release's actions may have changed what is under the pointer.
  StartTurn();
  UpdateHover(ButtonAt(x, y));
  RunScripts();
}

void Stage::PointerLeave()
{
  if (!pressed_.expired())
    return;
  StartTurn();
  UpdateHover(nullptr);
  RunScripts();
}

}  // namespace swf
