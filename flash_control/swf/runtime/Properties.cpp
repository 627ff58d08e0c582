// Stage: paths, variables and the numbered display properties.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "flash_control/swf/format/Names.h"
#include "flash_control/swf/runtime/Bounds.h"
#include "flash_control/swf/runtime/Stage.h"

namespace swf {

namespace {

constexpr const char* kPropertyNames[] = {
    "_x",        "_y",         "_xscale",    "_yscale",       "_currentframe", "_totalframes",
    "_alpha",    "_visible",   "_width",     "_height",       "_rotation",     "_target",
    "_framesloaded", "_name",  "_droptarget", "_url",         "_highquality",  "_focusrect",
    "_soundbuftime", "_quality", "_xmouse",  "_ymouse",
};
constexpr int kPropertyCount = static_cast<int>(std::size(kPropertyNames));

enum Property {
  kX, kY, kXScale, kYScale, kCurrentFrame, kTotalFrames, kAlpha, kVisible, kWidth, kHeight, kRotation,
  kTarget, kFramesLoaded, kName, kDropTarget, kUrl, kHighQuality, kFocusRect, kSoundBufTime, kQuality,
  kXMouse, kYMouse,
};

// "_level12" -> 12.
std::optional<int> LevelNumber(std::string_view name)
{
  constexpr std::string_view kLevel = "_level";
  if (name.size() <= kLevel.size() || name.size() > kLevel.size() + 4 || !StartsWithIgnoringCase(name, kLevel))
    return std::nullopt;
  int n = 0;
  for (char c : name.substr(kLevel.size())) {
    if (c < '0' || c > '9')
      return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

DisplayObject* RootOf(DisplayObject* object)
{
  while (object && object->Parent)
    object = object->Parent;
  return object;
}

double Length16(int32_t a, int32_t b)
{
  return std::hypot(static_cast<double>(a), static_cast<double>(b)) / 65536.0;
}

// A property value as an integer field: finite values only, kept far from overflow.
std::optional<int64_t> Fixed(double value, double scale)
{
  if (!std::isfinite(value))
    return std::nullopt;
  return static_cast<int64_t>(std::llround(std::clamp(value * scale, -2147483648.0, 2147483647.0)));
}

void SetScales(Matrix& m, double xscale, double yscale, double radians)
{
  m.A = SaturateScale(std::llround(xscale * std::cos(radians) * 65536.0));
  m.B = SaturateScale(std::llround(xscale * std::sin(radians) * 65536.0));
  m.C = SaturateScale(std::llround(-yscale * std::sin(radians) * 65536.0));
  m.D = SaturateScale(std::llround(yscale * std::cos(radians) * 65536.0));
}

double Rotation(const Matrix& m)
{
  return std::atan2(static_cast<double>(m.B), static_cast<double>(m.A));
}

}  // namespace

int Stage::PropertyIndex(std::string_view name)
{
  for (int i = 0; i < kPropertyCount; ++i) {
    if (EqualsIgnoringCase(name, kPropertyNames[i]))
      return i;
  }
  return -1;
}

DisplayObject* Stage::FindChild(const DisplayObject& parent, std::string_view name) const
{
  for (const auto& [depth, child] : parent.Children) {
    if (!child->Name.empty() && SameName(child->Name, name, parent.Version()))
      return child.get();
  }
  return nullptr;
}

DisplayObject* Stage::ResolveTarget(DisplayObject* base, std::string_view path) const
{
  DisplayObject* current = base ? base : Root(0);
  if (path.starts_with('/')) {
    current = RootOf(current);
    path.remove_prefix(1);
  }
  while (current && !path.empty()) {
    std::string_view segment;
    if (path.starts_with("..")) {
      segment = "..";
      path.remove_prefix(2);
    } else {
      const size_t end = std::min(path.find_first_of("/."), path.size());
      segment = path.substr(0, end);
      path.remove_prefix(end);
    }
    if (path.starts_with('/') || (path.starts_with('.') && !path.starts_with("..")))
      path.remove_prefix(1);
    if (segment.empty() || EqualsIgnoringCase(segment, "this"))
      continue;
    if (segment == ".." || EqualsIgnoringCase(segment, "_parent"))
      current = current->Parent;
    else if (EqualsIgnoringCase(segment, "_root"))
      current = RootOf(current);
    else if (const auto level = LevelNumber(segment))
      current = Root(*level);
    else
      current = FindChild(*current, segment);
  }
  return current;
}

// Where a variable name points: the object (or value) that holds it and the member's name.
// "path:name" and "/a/b/name" name a member of a display object; "a.b.name" walks values, so it
// reaches into script objects as well as into sprites.
Stage::VariableSlot Stage::Locate(DisplayObject* scope, std::string_view name) const
{
  if (scope == nullptr)
    scope = Root(0);
  if (scope == nullptr)
    return {};
  const size_t colon = name.rfind(':');
  const size_t slash = name.rfind('/');
  if (colon != std::string_view::npos || slash != std::string_view::npos) {
    const size_t split = colon != std::string_view::npos ? colon : slash;
    // "/name" is a member of the root; ":name" one of the scope itself.
    const std::string_view path = split == 0 && name[0] == '/' ? name.substr(0, 1) : name.substr(0, split);
    DisplayObject* target = ResolveTarget(scope, path);
    if (target == nullptr)
      return {};
    return {Value(ClipRef(target->shared_from_this())), std::string(name.substr(split + 1))};
  }
  Value holder(ClipRef(scope->shared_from_this()));
  for (size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.')) {
    holder = MemberOf(holder, name.substr(0, dot));
    name.remove_prefix(dot + 1);
  }
  return {std::move(holder), std::string(name)};
}

Value Stage::GetVariable(DisplayObject* scope, std::string_view name) const
{
  const VariableSlot slot = Locate(scope, name);
  return MemberOf(slot.Holder, slot.Name);
}

bool Stage::SetVariable(DisplayObject* scope, std::string_view name, Value value)
{
  const VariableSlot slot = Locate(scope, name);
  return SetMemberOf(slot.Holder, slot.Name, std::move(value));
}

Value Stage::MemberOf(const Value& holder, std::string_view name) const
{
  if (const auto clip = holder.AsClip())
    return GetMember(*clip, name);
  if (const Object* object = holder.AsObject())
    return object->Get(name);
  return Value();
}

bool Stage::SetMemberOf(const Value& holder, std::string_view name, Value value)
{
  if (const auto clip = holder.AsClip())
    return SetMember(*clip, name, std::move(value));
  Object* object = holder.AsObject();
  return object && object->Set(name, std::move(value));
}

Value Stage::GetMember(DisplayObject& object, std::string_view name) const
{
  if (!name.empty() && name.front() == '_') {
    const int index = PropertyIndex(name);
    if (index >= 0)
      return GetProperty(object, index);
    if (EqualsIgnoringCase(name, "_parent"))
      return object.Parent ? Value(ClipRef(object.Parent->shared_from_this())) : Value();
    if (EqualsIgnoringCase(name, "_root"))
      return Value(ClipRef(RootOf(&object)->shared_from_this()));
    if (const auto level = LevelNumber(name)) {
      SpriteObject* root = Root(*level);
      return root ? Value(ClipRef(root->shared_from_this())) : Value();
    }
  }
  if (object.GetKind() == DisplayObject::Kind::Sprite) {
    const Object* variables = static_cast<SpriteObject&>(object).Variables;
    if (variables && variables->Has(name))
      return variables->Get(name);
  }
  if (DisplayObject* child = FindChild(object, name))
    return Value(ClipRef(child->shared_from_this()));
  if (EqualsIgnoringCase(name, "this"))
    return Value(ClipRef(object.shared_from_this()));
  return Value();
}

bool Stage::SetMember(DisplayObject& object, std::string_view name, Value value)
{
  if (!name.empty() && name.front() == '_') {
    const int index = PropertyIndex(name);
    if (index >= 0) {
      SetProperty(object, index, value);
      return true;
    }
  }
  Object* variables = object.GetKind() == DisplayObject::Kind::Sprite ? static_cast<SpriteObject&>(object).Variables : nullptr;
  return variables && variables->Set(name, std::move(value));
}

Value Stage::GetProperty(DisplayObject& object, int index) const
{
  const auto* sprite = object.GetKind() == DisplayObject::Kind::Sprite ? static_cast<const SpriteObject*>(&object) : nullptr;
  const Matrix& m = object.Transform;
  switch (index) {
  case kX: return Value(m.Tx / 20.0);
  case kY: return Value(m.Ty / 20.0);
  case kXScale: return Value(Length16(m.A, m.B) * 100);
  case kYScale: return Value(Length16(m.C, m.D) * 100);
  case kCurrentFrame: return Value(sprite ? sprite->CurrentFrame + 1.0 : 1.0);
  case kTotalFrames:
  case kFramesLoaded: return Value(sprite ? static_cast<double>(sprite->Content.Frames.size()) : 1.0);
  case kAlpha: return Value(object.Colors.AMul * 100.0 / 256);
  case kVisible: return Value(object.Visible);
  case kWidth:
  case kHeight: {
    const TwipsRect r = TransformBounds(m, LocalBounds(object));
    return Value((index == kWidth ? double(r.XMax) - r.XMin : double(r.YMax) - r.YMin) / 20.0);
  }
  case kRotation: return Value(Rotation(m) * 180 / std::numbers::pi);
  case kTarget: return Value(SlashPath(object));
  case kName: return Value(object.Name);
  case kDropTarget:
  case kUrl: return Value(std::string());
  case kHighQuality: return Value(1.0);
  case kFocusRect: return Value(true);
  case kSoundBufTime: return Value(5.0);
  case kQuality: return Value("HIGH");
  case kXMouse:
  case kYMouse: {
    // The pointer in the object's own space.
    const Matrix w = WorldTransform(object);
    const double det = double(w.A) * w.D - double(w.B) * w.C;
    if (det == 0)
      return Value(0.0);
    const double px = pointerX_ - double(w.Tx), py = pointerY_ - double(w.Ty);
    const double lx = (w.D * px - w.C * py) / det * 65536.0, ly = (-w.B * px + w.A * py) / det * 65536.0;
    return Value(std::round(index == kXMouse ? lx / 20 : ly / 20));
  }
  default: return Value();
  }
}

void Stage::SetProperty(DisplayObject& object, int index, const Value& value)
{
  const int version = object.Version();
  const double n = value.ToNumber(version);
  Matrix& m = object.Transform;
  switch (index) {
  case kX:
  case kY:
    if (const auto twips = Fixed(n, 20)) {
      (index == kX ? m.Tx : m.Ty) = static_cast<int32_t>(*twips);
      object.ScriptControlled = true;
    }
    break;
  case kXScale:
  case kYScale:
  case kRotation:
    if (std::isfinite(n)) {
      double xscale = Length16(m.A, m.B), yscale = Length16(m.C, m.D), radians = Rotation(m);
      if (index == kXScale)
        xscale = std::clamp(n / 100, -16384.0, 16384.0);
      else if (index == kYScale)
        yscale = std::clamp(n / 100, -16384.0, 16384.0);
      else
        radians = std::fmod(n, 360.0) * std::numbers::pi / 180;
      SetScales(m, xscale, yscale, radians);
      object.ScriptControlled = true;
    }
    break;
  case kWidth:
  case kHeight: {
    const TwipsRect r = TransformBounds(m, LocalBounds(object));
    const double current = (index == kWidth ? double(r.XMax) - r.XMin : double(r.YMax) - r.YMin) / 20.0;
    if (std::isfinite(n) && n >= 0 && current > 0) {
      const double factor = n / current;
      double xscale = Length16(m.A, m.B), yscale = Length16(m.C, m.D);
      (index == kWidth ? xscale : yscale) *= factor;
      SetScales(m, std::min(xscale, 16384.0), std::min(yscale, 16384.0), Rotation(m));
      object.ScriptControlled = true;
    }
    break;
  }
  case kAlpha:
    if (const auto alpha = Fixed(n, 2.56)) {
      object.Colors.AMul = static_cast<int32_t>(std::clamp<int64_t>(*alpha, -65536, 65536));
      object.ScriptControlled = true;
    }
    break;
  case kVisible:
    // Numbers and numeric texts count by value; other texts by their spelling of "true".
    if (value.IsBoolean())
      object.Visible = value.ToBoolean(version);
    else if (std::isnan(n))
      object.Visible = value.IsString() && EqualsIgnoringCase(*value.AsString(), "true");
    else
      object.Visible = n != 0;
    break;
  case kName: {
    // Instance names are identifiers: a script cannot hang megabytes on every display object.
    constexpr size_t kMaxNameLength = 1024;
    std::string name = value.ToString(version);
    if (name.size() <= kMaxNameLength)
      object.Name = std::move(name);
    break;
  }
  default:
    break;  // read-only or not kept
  }
}

}  // namespace swf
