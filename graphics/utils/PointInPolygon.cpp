#include "graphics/Qv_utils.h"

#include <vector>

#include "platform/WinTypes.h"

bool PointInPolygon(const TPoint& P, std::span<const TPoint> Points)
{
  std::vector<POINT> vertices;
  vertices.reserve(Points.size());
  for (const TPoint& point : Points) vertices.push_back(ToPOINT(point));
  const HRGN region = CreatePolygonRgn(vertices.data(), static_cast<int>(vertices.size()), WINDING);
  if (!region) return false;
  const bool inside = PtInRegion(region, P.X, P.Y) != FALSE;
  DeleteObject(region);
  return inside;
}
