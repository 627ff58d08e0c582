#include "flash_control/swf/raster/Stroker.h"

#include <algorithm>

#include "flash_control/swf/raster/Path.h"

namespace swf::raster {

namespace {

// Arcs are split until a chord is within this many subpixels of the circle.
constexpr int32_t kArcTolerance = 12;
constexpr int kMaxArcDepth = 8;

SubPoint Add(SubPoint a, SubPoint b)
{
  return {a.X + b.X, a.Y + b.Y};
}

SubPoint Negate(SubPoint a)
{
  return {-a.X, -a.Y};
}

int64_t Cross(SubPoint a, SubPoint b)
{
  return int64_t{a.X} * b.Y - int64_t{a.Y} * b.X;
}

int64_t Dot(SubPoint a, SubPoint b)
{
  return int64_t{a.X} * b.X + int64_t{a.Y} * b.Y;
}

bool Same(SubPoint a, SubPoint b)
{
  return a.X == b.X && a.Y == b.Y;
}

// Whether a closed polygon turns positively, judged at its lowest (then leftmost) vertex, which is
// always convex: exact, and free of the overflow a sum over all vertices could reach.
bool TurnsPositively(const std::vector<SubPoint>& points)
{
  const size_t n = points.size() - 1;  // the last point repeats the first
  size_t k = 0;
  for (size_t i = 1; i < n; ++i) {
    if (points[i].Y < points[k].Y || (points[i].Y == points[k].Y && points[i].X < points[k].X))
      k = i;
  }
  const SubPoint prev = points[k == 0 ? n - 1 : k - 1], here = points[k], next = points[k + 1];
  return Cross({here.X - prev.X, here.Y - prev.Y}, {next.X - here.X, next.Y - here.Y}) > 0;
}

}  // namespace

// The normal of the segment a-b on its "left", (-dy, dx), at the stroke's radius.
SubPoint Stroker::Normal(SubPoint a, SubPoint b) const
{
  return ScaleTo({a.Y - b.Y, b.X - a.X}, radius_);
}

void Stroker::Stroke(std::vector<SubPoint> points)
{
  points.erase(std::unique(points.begin(), points.end(), Same), points.end());
  if (points.empty())
    return;
  if (points.size() == 1) {
    const SubPoint right{radius_, 0};
    target_.MoveTo(Add(points[0], SubPoint{0, radius_}));
    Cap(points[0], {0, radius_}, right);
    Cap(points[0], {0, -radius_}, Negate(right));
    target_.ClosePath();
    return;
  }
  const bool closed = points.size() > 3 && Same(points.front(), points.back());
  if (closed) {
    // Outer loop on the left of a negatively turning polygon, inner loop back along its right:
    // the ring between them winds like every other outline.
    if (TurnsPositively(points))
      std::reverse(points.begin(), points.end());
    Side(points, true, true);
    std::reverse(points.begin(), points.end());
    Side(points, true, true);
    return;
  }
  // Along the left side, round the end, back along the right side, round the start.
  Side(points, false, true);
  EndCap(points);
  std::reverse(points.begin(), points.end());
  Side(points, false, false);
  EndCap(points);
  target_.ClosePath();
}

// The cap at the polyline's last point, from its left side round to its right.
void Stroker::EndCap(const std::vector<SubPoint>& points)
{
  const SubPoint end = points.back(), before = points[points.size() - 2];
  Cap(end, Normal(before, end), {end.X - before.X, end.Y - before.Y});
}

// The left side of the polyline, segment by segment, joined round on the outside of each turn and
// through the vertex on the inside. A closed side is a contour of its own; an open one starts a
// contour (or goes on with the current one) that the caller finishes.
void Stroker::Side(const std::vector<SubPoint>& points, bool closed, bool startContour)
{
  const size_t segments = points.size() - 1;
  const SubPoint start = Add(points[0], Normal(points[0], points[1]));
  if (startContour)
    target_.MoveTo(start);
  else
    target_.LineTo(start);
  for (size_t i = 0; i < segments; ++i) {
    target_.LineTo(Add(points[i + 1], Normal(points[i], points[i + 1])));
    if (i + 1 < segments)
      Join(points[i + 1], points[i], points[i + 2]);
    else if (closed)
      Join(points[0], points[i], points[1]);
  }
  if (closed)
    target_.ClosePath();
}

void Stroker::Join(SubPoint pivot, SubPoint before, SubPoint after)
{
  const SubPoint in{pivot.X - before.X, pivot.Y - before.Y};
  const SubPoint out{after.X - pivot.X, after.Y - pivot.Y};
  const SubPoint from = Normal(before, pivot);
  const SubPoint to = Normal(pivot, after);
  const int64_t turn = Cross(in, out);
  if (turn > 0) {
    // Turning towards this side: it is the inside of the turn.
    target_.LineTo(pivot);
    target_.LineTo(Add(pivot, to));
  } else if (turn < 0 || Dot(in, out) < 0) {
    Arc(pivot, from, to, ScaleTo(in, radius_), 0);
  } else {
    target_.LineTo(Add(pivot, to));
  }
}

// A cap around `center` from the side at `normal` to the opposite side, through `direction`.
void Stroker::Cap(SubPoint center, SubPoint normal, SubPoint direction)
{
  Arc(center, normal, Negate(normal), ScaleTo(direction, radius_), 0);
}

// Draws from the current point (center + from) around the circle to center + to, passing
// center + through when from and to are opposite.
void Stroker::Arc(SubPoint center, SubPoint from, SubPoint to, SubPoint through, int depth)
{
  SubPoint mid = Add(from, to);
  const int64_t half = static_cast<int64_t>(SquareRoot(static_cast<uint64_t>(Dot(mid, mid)))) / 2;
  if (depth >= kMaxArcDepth || (Dot(from, to) > 0 && radius_ - half <= kArcTolerance)) {
    target_.LineTo(Add(center, to));
    return;
  }
  mid = half == 0 ? through : ScaleTo(mid, radius_);
  Arc(center, from, mid, through, depth + 1);
  Arc(center, mid, to, through, depth + 1);
}

}  // namespace swf::raster
