// Shapes as the rasteriser and the hit test need them: per style group, the boundary edges of each
// fill (oriented so that even-odd filling of one fill's edges gives its area) and the connected
// strokes of each line style. Coordinates are twips in the shape's own space.
#pragma once

#include <cstdint>
#include <vector>

#include "flash_control/swf/format/Geometry.h"

namespace swf {

class Reader;

struct ShapePoint {
  int32_t X = 0, Y = 0;

  friend bool operator==(const ShapePoint&, const ShapePoint&) = default;
};

// A straight edge has Control == From.
struct ShapeEdge {
  ShapePoint From, Control, To;
  bool Curved = false;
};

struct FillStyle {
  Rgba Color;
  // Bitmap fills cannot be drawn without bitmaps; they leave their area empty.
  bool Drawn = true;
};

struct LineStyle {
  uint16_t Width = 0;  // twips
  Rgba Color;
};

// Edges that follow each other without a gap, drawn with one line style.
struct Stroke {
  std::vector<ShapeEdge> Edges;
};

struct StyleGroup {
  std::vector<FillStyle> Fills;
  std::vector<LineStyle> Lines;
  std::vector<std::vector<ShapeEdge>> FillEdges;  // one list per fill style
  std::vector<std::vector<Stroke>> Strokes;       // one list per line style
};

struct Shape {
  // What the edges and lines reach, computed from them: the stored bounds are not trusted.
  TwipsRect Bounds;
  std::vector<StyleGroup> Groups;
};

// Reads the body of a shape definition after its character id; `version` is 1, 2 or 3.
// `edgeBudget` is decreased by the edges read and FormatError is thrown when it runs out.
Shape ReadShape(Reader& in, int version, uint32_t& edgeBudget);

}  // namespace swf
