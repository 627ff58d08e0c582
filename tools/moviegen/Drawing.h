// Small drawing helpers shared by the movies: points in pixels and colour mixing.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/swf/Shape.h"

namespace moviegen {

swfwriter::Point PxPoint(double x, double y);
std::vector<swfwriter::Point> PxPoints(std::initializer_list<std::pair<double, double>> points);
// Draws a path given in pixels with the pen: "M x y" moves, "L x y" draws a line, "Q cx cy x y" a
// quadratic curve; every point is offset by (dx, dy). The styles are the caller's to set.
void DrawPath(swfwriter::Shape& shape, std::string_view path, double dx = 0, double dy = 0);
// The colour a fraction `t` of the way from `from` to `to`.
swfwriter::Color Mix(swfwriter::Color from, swfwriter::Color to, double t);

}  // namespace moviegen
