#include "flash_control/swf/runtime/DisplayObject.h"

#include <vector>

namespace swf {

DisplayObject::DisplayObject(Kind kind, std::shared_ptr<const Movie> movie, const Character* character,
                             uint32_t* liveCount)
  : kind_(kind), movie_(std::move(movie)), character_(character), liveCount_(liveCount)
{
  ++*liveCount_;
}

DisplayObject::~DisplayObject()
{
  // A child that outlives this object (a script may still hold it) must not point back here.
  for (const auto& [depth, child] : Children)
    child->Parent = nullptr;
  --*liveCount_;
}

namespace {

std::vector<const DisplayObject*> Lineage(const DisplayObject& object)
{
  std::vector<const DisplayObject*> chain;
  for (const DisplayObject* o = &object; o; o = o->Parent)
    chain.push_back(o);
  return chain;
}

int LevelOf(const DisplayObject* root)
{
  const auto* sprite = root->GetKind() == DisplayObject::Kind::Sprite ? static_cast<const SpriteObject*>(root) : nullptr;
  return sprite && sprite->Level >= 0 ? sprite->Level : 0;
}

}  // namespace

std::string TargetPath(const DisplayObject& object)
{
  const auto chain = Lineage(object);
  std::string path = "_level" + std::to_string(LevelOf(chain.back()));
  for (size_t i = chain.size() - 1; i-- > 0;)
    path += "." + chain[i]->Name;
  return path;
}

std::string SlashPath(const DisplayObject& object)
{
  const auto chain = Lineage(object);
  if (chain.size() == 1)
    return "/";
  std::string path;
  for (size_t i = chain.size() - 1; i-- > 0;)
    path += "/" + chain[i]->Name;
  return path;
}

Matrix WorldTransform(const DisplayObject& object)
{
  Matrix m = object.Transform;
  for (const DisplayObject* p = object.Parent; p; p = p->Parent)
    m = Concatenate(p->Transform, m);
  return m;
}

ColorTransform WorldColors(const DisplayObject& object)
{
  ColorTransform c = object.Colors;
  for (const DisplayObject* p = object.Parent; p; p = p->Parent)
    c = Concatenate(p->Colors, c);
  return c;
}

}  // namespace swf
