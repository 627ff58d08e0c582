#include "flash_control/swf/runtime/RenderList.h"

#include <unordered_map>

#include "flash_control/swf/runtime/Bounds.h"
#include "flash_control/swf/runtime/Stage.h"

namespace swf {

namespace {

// A video is drawn as a neutral grey box of its size while a video file plays in it.
constexpr Rgba kVideoPlaceholder{128, 128, 128, 255};

void Collect(const DisplayObject& object, const Matrix& parentWorld, const ColorTransform& parentColors,
             std::vector<RenderItem>& out)
{
  // Masks are not supported: a mask layer is not drawn and what it masks is drawn whole.
  if (!object.Visible || object.ClipDepth)
    return;
  const Matrix world = Concatenate(parentWorld, object.Transform);
  const ColorTransform colors = Concatenate(parentColors, object.Colors);
  switch (object.GetKind()) {
  case DisplayObject::Kind::Shape: {
    const Shape& shape = std::get<Shape>(*object.GetCharacter());
    out.push_back({&object, &shape, shape.Bounds, world, colors});
    break;
  }
  case DisplayObject::Kind::Video: {
    const auto& video = static_cast<const VideoObject&>(object);
    if (video.Stream && video.Stream->Stream.Playing)
      out.push_back({&object, nullptr, LocalBounds(object), world, colors});
    break;
  }
  default:
    for (const auto& [depth, child] : object.Children)
      Collect(*child, world, colors, out);
    break;
  }
}

}  // namespace

std::vector<RenderItem> BuildRenderList(const Stage& stage)
{
  std::vector<RenderItem> items;
  for (const auto& [level, root] : stage.Layers())
    Collect(*root, Matrix{}, ColorTransform{}, items);
  return items;
}

TwipsRect ChangedArea(const std::vector<RenderItem>& before, const std::vector<RenderItem>& after)
{
  std::unordered_map<const DisplayObject*, const RenderItem*> previous;
  for (const RenderItem& item : before)
    previous.emplace(item.Identity, &item);
  TwipsRect area;
  for (const RenderItem& item : after) {
    const auto it = previous.find(item.Identity);
    if (it != previous.end() && it->second->SameLook(item)) {
      previous.erase(it);
      continue;
    }
    area = Union(area, item.StageBounds());
    if (it != previous.end()) {
      area = Union(area, it->second->StageBounds());
      previous.erase(it);
    }
  }
  for (const auto& [identity, item] : previous)
    area = Union(area, item->StageBounds());
  return area;
}

void DrawItems(const std::vector<RenderItem>& items, raster::Painter& painter, const raster::StageMapping& mapping)
{
  for (const RenderItem& item : items) {
    const raster::DeviceMatrix m = raster::ToDevice(item.World, mapping);
    if (!painter.Reaches(item.Local, m))
      continue;
    if (item.Geometry) {
      painter.DrawShape(*item.Geometry, m, item.Colors);
      continue;
    }
    const TwipsRect& r = item.Local;
    painter.FillPolygon({raster::Transform(m, r.XMin, r.YMin), raster::Transform(m, r.XMax, r.YMin),
                         raster::Transform(m, r.XMax, r.YMax), raster::Transform(m, r.XMin, r.YMax)},
                        Apply(item.Colors, kVideoPlaceholder));
  }
}

}  // namespace swf
