#include "flash_control/swf/runtime/Bounds.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "flash_control/swf/raster/Path.h"

namespace swf {

namespace {

using raster::SubPoint;

SubPoint Apply(const Matrix& m, ShapePoint p)
{
  const int64_t x = ((int64_t{m.A} * p.X + int64_t{m.C} * p.Y + 0x8000) >> 16) + m.Tx;
  const int64_t y = ((int64_t{m.B} * p.X + int64_t{m.D} * p.Y + 0x8000) >> 16) + m.Ty;
  constexpr int64_t kLimit = int64_t{1} << 28;
  return {static_cast<int32_t>(std::clamp(x, -kLimit, kLimit)), static_cast<int32_t>(std::clamp(y, -kLimit, kLimit))};
}

// The edge as chords, in stage twips.
void Chords(const ShapeEdge& e, const Matrix& m, std::vector<SubPoint>& out)
{
  out.clear();
  out.push_back(Apply(m, e.From));
  if (e.Curved)
    raster::FlattenQuadratic(out.front(), Apply(m, e.Control), Apply(m, e.To), out);
  else
    out.push_back(Apply(m, e.To));
}

// Squared distance from (x, y) to the segment a-b, in twips squared.
double SquaredDistance(SubPoint a, SubPoint b, double x, double y)
{
  const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
  const double length = dx * dx + dy * dy;
  double t = length > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / length : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = a.X + t * dx - x, py = a.Y + t * dy - y;
  return px * px + py * py;
}

}  // namespace

TwipsRect LocalBounds(const DisplayObject& object)
{
  switch (object.GetKind()) {
  case DisplayObject::Kind::Shape:
    return std::get<Shape>(*object.GetCharacter()).Bounds;
  case DisplayObject::Kind::Video: {
    const auto& video = static_cast<const VideoObject&>(object).Definition;
    return {0, video.Width * kTwipsPerPixel, 0, video.Height * kTwipsPerPixel};
  }
  default: {
    TwipsRect r;
    for (const auto& [depth, child] : object.Children)
      r = Union(r, TransformBounds(child->Transform, LocalBounds(*child)));
    return r;
  }
  }
}

bool HitShape(const Shape& shape, const Matrix& world, int32_t x, int32_t y)
{
  const TwipsRect bounds = TransformBounds(world, shape.Bounds);
  // Lines at least a pixel wide reach a little past the stored bounds.
  if (x < bounds.XMin - kTwipsPerPixel || x > bounds.XMax + kTwipsPerPixel || y < bounds.YMin - kTwipsPerPixel ||
      y > bounds.YMax + kTwipsPerPixel)
    return false;
  const double px = x + 0.5, py = y + 0.5;
  const double scale = std::sqrt(std::abs(double(world.A) * world.D - double(world.B) * world.C)) / 65536.0;
  std::vector<SubPoint> chords;
  for (const StyleGroup& group : shape.Groups) {
    for (const auto& edges : group.FillEdges) {
      bool inside = false;
      for (const ShapeEdge& e : edges) {
        Chords(e, world, chords);
        for (size_t i = 0; i + 1 < chords.size(); ++i) {
          const SubPoint a = chords[i], b = chords[i + 1];
          if ((a.Y > py) != (b.Y > py) && px < a.X + (py - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y))
            inside = !inside;
        }
      }
      if (inside)
        return true;
    }
    for (size_t i = 0; i < group.Lines.size(); ++i) {
      const double reach = std::max(group.Lines[i].Width * scale, double(kTwipsPerPixel)) / 2;
      for (const Stroke& stroke : group.Strokes[i]) {
        for (const ShapeEdge& e : stroke.Edges) {
          Chords(e, world, chords);
          for (size_t k = 0; k + 1 < chords.size(); ++k) {
            if (SquaredDistance(chords[k], chords[k + 1], px, py) <= reach * reach)
              return true;
          }
        }
      }
    }
  }
  return false;
}

namespace {

bool HitCharacter(const Movie& movie, uint16_t id, const Matrix& world, int32_t x, int32_t y, uint32_t nesting)
{
  const Character* character = movie.Find(id);
  if (character == nullptr || nesting == 0)
    return false;
  if (const auto* shape = std::get_if<Shape>(character))
    return HitShape(*shape, world, x, y);
  if (const auto* button = std::get_if<Button>(character))
    return HitButton(movie, *button, world, x, y, nesting - 1);
  if (const auto* sprite = std::get_if<Sprite>(character)) {
    for (const ControlTag& tag : sprite->Content.Frames.front().Tags) {
      const auto* place = std::get_if<PlaceTag>(&tag);
      if (place && place->CharacterId &&
          HitCharacter(movie, *place->CharacterId, Concatenate(world, place->Transform.value_or(Matrix{})), x, y,
                       nesting - 1))
        return true;
    }
  }
  return false;
}

}  // namespace

bool HitButton(const Movie& movie, const Button& button, const Matrix& world, int32_t x, int32_t y, uint32_t nesting)
{
  for (const ButtonRecord& record : button.Records) {
    if ((record.States & kButtonHit) &&
        HitCharacter(movie, record.CharacterId, Concatenate(world, record.Transform), x, y, nesting))
      return true;
  }
  return false;
}

}  // namespace swf
