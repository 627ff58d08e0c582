// The stage flattened into what is drawn, in drawing order. Comparing two lists tells what part of
// the stage changed between them, whatever made it change.
#pragma once

#include <vector>

#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/format/Shape.h"
#include "flash_control/swf/raster/Painter.h"

namespace swf {

class DisplayObject;
class Stage;

struct RenderItem {
  const DisplayObject* Identity = nullptr;  // compared, never followed
  const Shape* Geometry = nullptr;          // null for a video placeholder
  TwipsRect Local;                          // the shape's bounds or the video's rectangle
  Matrix World;
  ColorTransform Colors;

  bool SameLook(const RenderItem& other) const
  {
    return Geometry == other.Geometry && Local == other.Local && World == other.World && Colors == other.Colors;
  }
  TwipsRect StageBounds() const { return TransformBounds(World, Local); }
};

std::vector<RenderItem> BuildRenderList(const Stage& stage);

// The stage twips covered by items that appeared, vanished or look different.
TwipsRect ChangedArea(const std::vector<RenderItem>& before, const std::vector<RenderItem>& after);

void DrawItems(const std::vector<RenderItem>& items, raster::Painter& painter, const raster::StageMapping& mapping);

}  // namespace swf
