#include "flash_control/swf/runtime/Stage.h"

#include <utility>

#include "flash_control/swf/format/Names.h"
#include "flash_control/swf/script/Interpreter.h"

namespace swf {

Stage::Stage(Host* host, const Limits& limits)
  : host_(host), limits_(limits), heap_(limits.MaxObjects, limits.MaxScriptBytes)
{
}

Stage::~Stage()
{
  // Display objects count themselves out into liveObjects_: they must go first.
  layers_.clear();
}

// Layers --------------------------------------------------------------------------------------------

void Stage::Load(int level, std::shared_ptr<const Movie> movie,
                 const std::vector<std::pair<std::string, std::string>>& variables)
{
  if (level == 0)
    layers_.clear();
  else
    layers_.erase(level);
  structureChanged_ = true;
  hover_.reset();
  pressed_.reset();

  const Movie& m = *movie;
  auto root = std::make_shared<SpriteObject>(std::move(movie), nullptr, m.Root, &liveObjects_);
  root->Level = level;
  root->Born = tick_;
  root->Variables = heap_.New(Object::Kind::Plain, CaseSensitiveNames(m.Version));
  if (root->Variables) {
    for (const auto& [name, value] : variables)
      root->Variables->Set(name, Value(value));
  }
  layers_[level] = root;
  StartTurn();
  GotoFrame(*root, 0);
  RunScripts();
}

void Stage::Unload(int level)
{
  if (layers_.erase(level))
    structureChanged_ = true;
}

void Stage::UnloadAll()
{
  layers_.clear();
  structureChanged_ = true;
}

SpriteObject* Stage::Root(int level) const
{
  const auto it = layers_.find(level);
  return it == layers_.end() ? nullptr : it->second.get();
}

bool Stage::TakeStructureChanged()
{
  return std::exchange(structureChanged_, false);
}

// Time ----------------------------------------------------------------------------------------------

void Stage::Advance()
{
  ++tick_;
  StartTurn();
  // A host callback may load or unload layers while frames run: walk a snapshot.
  std::vector<std::shared_ptr<SpriteObject>> roots;
  for (const auto& [level, root] : layers_)
    roots.push_back(root);
  for (const auto& root : roots)
    AdvanceSprite(*root);
  RunScripts();
  if (heap_.WantsCollection())
    CollectGarbage();
}

void Stage::AdvanceSprite(SpriteObject& sprite)
{
  if (sprite.Born == tick_)
    return;
  const auto frames = static_cast<uint32_t>(sprite.Content.Frames.size());
  if (sprite.Playing && frames > 1) {
    uint32_t next = sprite.CurrentFrame + 1;
    if (next >= frames) {
      if (sprite.Level >= 0 && !Loop) {
        sprite.Playing = false;
        next = sprite.CurrentFrame;
      } else {
        next = 0;
      }
    }
    GotoFrame(sprite, next);
  }
  // Children placed by this frame start at their first frame; the others move on. Buttons hold
  // the sprites of their states.
  std::vector<std::shared_ptr<DisplayObject>> children;
  for (const auto& [depth, child] : sprite.Children)
    children.push_back(child);
  for (size_t i = 0; i < children.size(); ++i) {
    DisplayObject& child = *children[i];
    if (child.Parent == nullptr || child.Born == tick_)
      continue;
    if (child.GetKind() == DisplayObject::Kind::Sprite) {
      AdvanceSprite(static_cast<SpriteObject&>(child));
    } else if (child.GetKind() == DisplayObject::Kind::Button) {
      for (const auto& [depth, part] : child.Children) {
        if (part->GetKind() == DisplayObject::Kind::Sprite)
          children.push_back(part);
      }
    }
  }
}

// Timelines -------------------------------------------------------------------------------------------

namespace {

void Apply(const Frame& frame, uint32_t frameIndex, std::map<uint16_t, Placement>& placed)
{
  uint32_t tagIndex = 0;
  for (const ControlTag& tag : frame.Tags) {
    ++tagIndex;
    if (const auto* remove = std::get_if<RemoveTag>(&tag)) {
      placed.erase(remove->Depth);
      continue;
    }
    const auto* place = std::get_if<PlaceTag>(&tag);
    if (place == nullptr)
      continue;
    const auto existing = placed.find(place->Depth);
    if (place->Move && existing != placed.end()) {
      Placement& p = existing->second;
      if (place->CharacterId)
        p.CharacterId = *place->CharacterId;
      if (place->Transform)
        p.Transform = *place->Transform;
      if (place->Colors)
        p.Colors = *place->Colors;
      if (place->Ratio)
        p.Ratio = *place->Ratio;
      if (place->ClipDepth)
        p.ClipDepth = place->ClipDepth;
      continue;
    }
    if (!place->CharacterId)
      continue;  // moving nothing
    Placement p;
    p.CharacterId = *place->CharacterId;
    p.Transform = place->Transform.value_or(Matrix{});
    p.Colors = place->Colors.value_or(ColorTransform{});
    p.Ratio = place->Ratio.value_or(0);
    p.Name = place->Name.value_or(std::string());
    p.ClipDepth = place->ClipDepth;
    p.Id = frameIndex << 16 | (tagIndex & 0xFFFF);
    placed[place->Depth] = std::move(p);
  }
}

}  // namespace

void Stage::GotoFrame(SpriteObject& sprite, uint32_t frame)
{
  const auto& frames = sprite.Content.Frames;
  frame = std::min<uint32_t>(frame, static_cast<uint32_t>(frames.size()) - 1);
  if (frame == sprite.CurrentFrame)
    return;
  // Going forward continues from here; going back replays from the start.
  std::map<uint16_t, Placement> placed;
  uint32_t from = 0;
  if (sprite.CurrentFrame != SpriteObject::kNoFrame && frame > sprite.CurrentFrame) {
    placed = sprite.Placed;
    from = sprite.CurrentFrame + 1;
  }
  // Replaying is work a script can ask for again and again: it is charged like actions.
  for (uint32_t f = from; f <= frame; ++f) {
    Apply(frames[f], f, placed);
    Charge(static_cast<uint32_t>(frames[f].Tags.size()));
  }
  sprite.Placed = std::move(placed);
  sprite.CurrentFrame = frame;
  Reconcile(sprite);
  CallFrame(sprite, frame);
}

bool Stage::GotoLabel(SpriteObject& sprite, std::string_view label)
{
  const auto frame = sprite.Content.FindLabel(label);
  if (frame)
    GotoFrame(sprite, *frame);
  return frame.has_value();
}

void Stage::CallFrame(SpriteObject& sprite, uint32_t frame)
{
  if (frame >= sprite.Content.Frames.size())
    return;
  for (const ControlTag& tag : sprite.Content.Frames[frame].Tags) {
    if (const auto* action = std::get_if<ActionTag>(&tag))
      Queue(sprite, action->Actions);
  }
}

// Makes the children of `sprite` what its placements say: objects placed by another tag (or now
// showing another character) are replaced, the rest keep their state and take the new transform.
void Stage::Reconcile(SpriteObject& sprite)
{
  for (auto it = sprite.Children.begin(); it != sprite.Children.end();) {
    const auto placed = sprite.Placed.find(it->first);
    const DisplayObject& child = *it->second;
    if (placed == sprite.Placed.end() || placed->second.Id != child.PlacementId ||
        placed->second.CharacterId != child.CharacterId) {
      it->second->Parent = nullptr;
      it = sprite.Children.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [depth, placement] : sprite.Placed) {
    const auto it = sprite.Children.find(depth);
    if (it == sprite.Children.end()) {
      Create(sprite, depth, placement);
      continue;
    }
    DisplayObject& child = *it->second;
    if (!child.ScriptControlled) {
      child.Transform = placement.Transform;
      child.Colors = placement.Colors;
    }
    child.Ratio = placement.Ratio;
    child.ClipDepth = placement.ClipDepth;
  }
}

std::shared_ptr<DisplayObject> Stage::Create(DisplayObject& parent, uint16_t depth, const Placement& placement)
{
  if (liveObjects_ >= limits_.MaxDisplayObjects || parent.Nesting + 1 > limits_.MaxNesting)
    return nullptr;
  const auto& movie = parent.MovieRef();
  const Character* character = movie->Find(placement.CharacterId);
  if (character == nullptr)
    return nullptr;

  std::shared_ptr<DisplayObject> object;
  if (std::holds_alternative<Shape>(*character)) {
    object = std::make_shared<DisplayObject>(DisplayObject::Kind::Shape, movie, character, &liveObjects_);
  } else if (const auto* sprite = std::get_if<Sprite>(character)) {
    auto s = std::make_shared<SpriteObject>(movie, character, sprite->Content, &liveObjects_);
    s->Variables = heap_.New(Object::Kind::Plain, CaseSensitiveNames(movie->Version));
    object = std::move(s);
  } else if (const auto* button = std::get_if<Button>(character)) {
    object = std::make_shared<ButtonObject>(movie, *button, character, &liveObjects_);
  } else if (const auto* video = std::get_if<VideoStream>(character)) {
    object = std::make_shared<VideoObject>(movie, *video, character, &liveObjects_);
  }
  object->Parent = &parent;
  object->Nesting = parent.Nesting + 1;
  object->Depth = depth;
  object->CharacterId = placement.CharacterId;
  object->PlacementId = placement.Id;
  object->Transform = placement.Transform;
  object->Colors = placement.Colors;
  object->Name = placement.Name;
  object->Ratio = placement.Ratio;
  object->ClipDepth = placement.ClipDepth;
  object->Born = tick_;
  parent.Children[depth] = object;

  // Entering the first frame may run scripts that look the new object up by its path.
  if (object->GetKind() == DisplayObject::Kind::Sprite)
    GotoFrame(static_cast<SpriteObject&>(*object), 0);
  else if (object->GetKind() == DisplayObject::Kind::Button)
    ShowVisual(static_cast<ButtonObject&>(*object));
  return object;
}

// Scripts ---------------------------------------------------------------------------------------------

void Stage::StartTurn()
{
  heap_.ClearRefusal();
  actionsLeft_ = limits_.MaxActionsPerFrame;
  deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits_.MaxScriptMilliseconds);
}

void Stage::Charge(uint32_t units)
{
  actionsLeft_ -= std::min(units, actionsLeft_);
}

bool Stage::ChargeAction()
{
  if (actionsLeft_ == 0)
    return false;
  --actionsLeft_;
  // The clock is read now and then: it costs more than an action.
  if ((actionsLeft_ & 0x3FF) == 0 && std::chrono::steady_clock::now() >= deadline_)
    actionsLeft_ = 0;
  return true;
}

void Stage::Queue(SpriteObject& target, const ActionBytes& code)
{
  // A script that keeps queueing frames must not grow the queue without end.
  if (scripts_.size() >= limits_.MaxActionsPerFrame)
    return;
  scripts_.push_back({target.weak_from_this(), target.MovieRef(), &code});
}

void Stage::RunScripts()
{
  while (!scripts_.empty()) {
    const PendingScript script = std::move(scripts_.front());
    scripts_.pop_front();
    const auto target = script.Target.lock();
    if (!target || !OnStage(*target))
      continue;
    if (!Interpreter(*this).Run(static_cast<SpriteObject&>(*target), script.Source, *script.Code))
      ++stoppedScripts_;
    if (actionsLeft_ == 0) {
      stoppedScripts_ += static_cast<uint32_t>(scripts_.size());
      scripts_.clear();
    }
  }
}

// Whether the object is still in the display tree of a loaded layer: scripts of removed timelines
// do not run.
bool Stage::OnStage(const DisplayObject& object) const
{
  const DisplayObject* o = &object;
  while (o->Parent)
    o = o->Parent;
  const auto* root = o->GetKind() == DisplayObject::Kind::Sprite ? static_cast<const SpriteObject*>(o) : nullptr;
  return root && root->Level >= 0 && Root(root->Level) == root;
}

void Stage::CollectGarbage()
{
  std::vector<Object*> roots;
  std::vector<const DisplayObject*> pending;
  for (const auto& [level, root] : layers_)
    pending.push_back(root.get());
  while (!pending.empty()) {
    const DisplayObject* object = pending.back();
    pending.pop_back();
    if (object->GetKind() == DisplayObject::Kind::Sprite)
      roots.push_back(static_cast<const SpriteObject*>(object)->Variables);
    else if (object->GetKind() == DisplayObject::Kind::Video)
      roots.push_back(static_cast<const VideoObject*>(object)->Stream);
    for (const auto& [depth, child] : object->Children)
      pending.push_back(child.get());
  }
  heap_.Collect(roots);
}

}  // namespace swf
