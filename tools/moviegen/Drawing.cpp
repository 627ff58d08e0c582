#include "tools/moviegen/Drawing.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

namespace moviegen {

using swfwriter::Color;
using swfwriter::Point;
using swfwriter::Px;

Point PxPoint(double x, double y)
{
  return {Px(x), Px(y)};
}

std::vector<Point> PxPoints(std::initializer_list<std::pair<double, double>> points)
{
  std::vector<Point> result;
  for (const auto& [x, y] : points)
    result.push_back(PxPoint(x, y));
  return result;
}

void DrawPath(swfwriter::Shape& shape, std::string_view path, double dx, double dy)
{
  std::istringstream in{std::string(path)};
  char command = 0;
  while (in >> command) {
    double x = 0, y = 0, cx = 0, cy = 0;
    if (command == 'Q')
      in >> cx >> cy;
    in >> x >> y;
    if (!in)
      throw std::invalid_argument("bad path: " + std::string(path));
    if (command == 'M')
      shape.MoveTo(Px(x + dx), Px(y + dy));
    else if (command == 'L')
      shape.LineTo(Px(x + dx), Px(y + dy));
    else if (command == 'Q')
      shape.CurveTo(Px(cx + dx), Px(cy + dy), Px(x + dx), Px(y + dy));
    else
      throw std::invalid_argument("bad path command: " + std::string(1, command));
  }
}

Color Mix(Color from, Color to, double t)
{
  const auto channel = [t](uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(std::lround(a + (b - a) * t));
  };
  return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b),
          channel(from.a, to.a)};
}

}  // namespace moviegen
