#include "flash_control/swf/format/Shape.h"

#include <algorithm>

#include "flash_control/swf/format/Codes.h"
#include "flash_control/swf/format/Reader.h"

namespace swf {

namespace {

constexpr int32_t kMaxCoordinate = 1 << 30;

int32_t Step(int32_t from, int32_t delta)
{
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{from} + delta, -kMaxCoordinate, kMaxCoordinate));
}

Rgba ReadColor(Reader& in, int version)
{
  return version >= 3 ? ReadRgba(in) : ReadRgb(in);
}

// Gradients are drawn in the mean colour of their stops: the subset draws solid fills only.
Rgba ReadGradientMean(Reader& in, int version, bool focal)
{
  const unsigned count = in.U8() & 0x0F;
  uint32_t sum[4] = {};
  for (unsigned i = 0; i < count; ++i) {
    in.U8();  // ratio
    const Rgba c = ReadColor(in, version);
    sum[0] += c.R, sum[1] += c.G, sum[2] += c.B, sum[3] += c.A;
  }
  if (focal)
    in.S16();
  if (count == 0)
    return {0, 0, 0, 0};
  return {static_cast<uint8_t>(sum[0] / count), static_cast<uint8_t>(sum[1] / count),
          static_cast<uint8_t>(sum[2] / count), static_cast<uint8_t>(sum[3] / count)};
}

unsigned ReadStyleCount(Reader& in, int version)
{
  unsigned count = in.U8();
  if (count == 0xFF && version >= 2)
    count = in.U16();
  return count;
}

std::vector<FillStyle> ReadFillStyles(Reader& in, int version)
{
  std::vector<FillStyle> fills(ReadStyleCount(in, version));
  for (FillStyle& fill : fills) {
    const uint8_t type = in.U8();
    switch (type) {
    case kFillSolid:
      fill.Color = ReadColor(in, version);
      break;
    case kFillLinearGradient:
    case kFillRadialGradient:
    case kFillFocalGradient:
      ReadMatrix(in);
      fill.Color = ReadGradientMean(in, version, type == kFillFocalGradient);
      break;
    case kFillRepeatingBitmap:
    case kFillClippedBitmap:
    case kFillRepeatingBitmapUnsmoothed:
    case kFillClippedBitmapUnsmoothed:
      in.U16();
      ReadMatrix(in);
      fill.Drawn = false;
      break;
    default:
      throw FormatError("unknown fill style");
    }
  }
  return fills;
}

std::vector<LineStyle> ReadLineStyles(Reader& in, int version)
{
  std::vector<LineStyle> lines(ReadStyleCount(in, version));
  for (LineStyle& line : lines) {
    line.Width = in.U16();
    line.Color = ReadColor(in, version);
  }
  return lines;
}

class ShapeBuilder {
public:
  ShapeBuilder(Shape& shape, uint32_t& edgeBudget) : shape_(shape), edgeBudget_(edgeBudget) {}

  void StartGroup(std::vector<FillStyle> fills, std::vector<LineStyle> lines)
  {
    StyleGroup& group = shape_.Groups.emplace_back();
    group.FillEdges.resize(fills.size());
    group.Strokes.resize(lines.size());
    group.Fills = std::move(fills);
    group.Lines = std::move(lines);
    fill0_ = fill1_ = line_ = 0;
    strokeOpen_ = false;
  }

  // Style indices past the group's styles select no style, as index 0 does.
  void SetFill0(uint32_t index) { fill0_ = index <= Group().Fills.size() ? index : 0; }
  void SetFill1(uint32_t index) { fill1_ = index <= Group().Fills.size() ? index : 0; }
  void SetLine(uint32_t index)
  {
    line_ = index <= Group().Lines.size() ? index : 0;
    strokeOpen_ = false;
  }
  void MoveTo(ShapePoint p)
  {
    pen_ = p;
    strokeOpen_ = false;
  }
  ShapePoint Pen() const { return pen_; }

  void AddEdge(ShapePoint control, ShapePoint to, bool curved)
  {
    if (edgeBudget_ == 0)
      throw FormatError("shapes have too many edges");
    --edgeBudget_;
    const ShapeEdge edge{pen_, curved ? control : pen_, to, curved};
    Extend(edge.From);
    Extend(edge.Control);
    Extend(edge.To);
    StyleGroup& group = Group();
    if (fill1_)
      group.FillEdges[fill1_ - 1].push_back(edge);
    if (fill0_)
      group.FillEdges[fill0_ - 1].push_back({edge.To, curved ? edge.Control : edge.To, edge.From, curved});
    if (line_) {
      std::vector<Stroke>& strokes = group.Strokes[line_ - 1];
      if (!strokeOpen_)
        strokes.emplace_back();
      strokes.back().Edges.push_back(edge);
      strokeOpen_ = true;
    }
    pen_ = to;
  }

  // Widens the bounds by half the widest line used.
  void Finish()
  {
    if (!seen_)
      return;
    int32_t half = 0;
    for (const StyleGroup& group : shape_.Groups) {
      for (size_t i = 0; i < group.Lines.size(); ++i) {
        if (!group.Strokes[i].empty())
          half = std::max<int32_t>(half, group.Lines[i].Width / 2);
      }
    }
    shape_.Bounds = {Step(min_.X, -half), Step(max_.X, half), Step(min_.Y, -half), Step(max_.Y, half)};
  }

private:
  StyleGroup& Group() { return shape_.Groups.back(); }

  void Extend(ShapePoint p)
  {
    if (!seen_)
      min_ = max_ = p;
    min_ = {std::min(min_.X, p.X), std::min(min_.Y, p.Y)};
    max_ = {std::max(max_.X, p.X), std::max(max_.Y, p.Y)};
    seen_ = true;
  }

  Shape& shape_;
  uint32_t& edgeBudget_;
  ShapePoint pen_;
  uint32_t fill0_ = 0, fill1_ = 0, line_ = 0;
  bool strokeOpen_ = false;
  bool seen_ = false;
  ShapePoint min_, max_;
};

}  // namespace

Shape ReadShape(Reader& in, int version, uint32_t& edgeBudget)
{
  Shape shape;
  ReadRect(in);
  ShapeBuilder builder(shape, edgeBudget);
  {
    auto fills = ReadFillStyles(in, version);
    auto lines = ReadLineStyles(in, version);
    builder.StartGroup(std::move(fills), std::move(lines));
  }
  unsigned fillBits = in.UBits(4);
  unsigned lineBits = in.UBits(4);
  for (;;) {
    if (in.UBits(1) == 0) {
      const uint32_t flags = in.UBits(5);
      if (flags == 0)
        break;
      uint32_t fill0 = 0, fill1 = 0, line = 0;
      if (flags & kStyleChangeMoveTo) {
        const unsigned bits = in.UBits(5);
        const int32_t x = in.SBits(bits);
        const int32_t y = in.SBits(bits);
        builder.MoveTo({Step(0, x), Step(0, y)});
      }
      if (flags & kStyleChangeFill0)
        fill0 = in.UBits(fillBits);
      if (flags & kStyleChangeFill1)
        fill1 = in.UBits(fillBits);
      if (flags & kStyleChangeLine)
        line = in.UBits(lineBits);
      if (flags & kStyleChangeNewStyles) {
        // New styles replace the old ones; the indices of this record already refer to them.
        auto fills = ReadFillStyles(in, version);
        auto lines = ReadLineStyles(in, version);
        builder.StartGroup(std::move(fills), std::move(lines));
        fillBits = in.UBits(4);
        lineBits = in.UBits(4);
      }
      if (flags & kStyleChangeFill0)
        builder.SetFill0(fill0);
      if (flags & kStyleChangeFill1)
        builder.SetFill1(fill1);
      if (flags & kStyleChangeLine)
        builder.SetLine(line);
      continue;
    }
    const ShapePoint pen = builder.Pen();
    const bool straight = in.UBits(1);
    const unsigned bits = in.UBits(4) + 2;
    if (straight) {
      int32_t dx = 0, dy = 0;
      if (in.UBits(1)) {
        dx = in.SBits(bits);
        dy = in.SBits(bits);
      } else if (in.UBits(1)) {
        dy = in.SBits(bits);
      } else {
        dx = in.SBits(bits);
      }
      builder.AddEdge(pen, {Step(pen.X, dx), Step(pen.Y, dy)}, false);
    } else {
      const int32_t cdx = in.SBits(bits);
      const int32_t cdy = in.SBits(bits);
      const int32_t adx = in.SBits(bits);
      const int32_t ady = in.SBits(bits);
      const ShapePoint control{Step(pen.X, cdx), Step(pen.Y, cdy)};
      builder.AddEdge(control, {Step(control.X, adx), Step(control.Y, ady)}, true);
    }
  }
  builder.Finish();
  return shape;
}

}  // namespace swf
