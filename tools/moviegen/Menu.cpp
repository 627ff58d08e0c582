// The title bar: the window border's colours, an emblem and the name drawn in strokes on the left,
// and the "Min" and "Close" buttons in the right 106 pixels, where the bar takes the mouse.
#include <cmath>
#include <tuple>
#include <vector>

#include "tools/moviegen/Drawing.h"
#include "tools/moviegen/Movies.h"

namespace moviegen {

using namespace swfwriter;

namespace {

// The border strips' colours.
constexpr Color Light = Rgb(0xFBDFDD);
constexpr Color Base = Rgb(0xC76D6D);
constexpr Color Edge = Rgb(0xC76B6C);
constexpr Color Inner = Rgb(0xFBA19E);
// The glyphs on the lit plates: the base colour, deepened.
constexpr Color Deep = Rgb(0x9A4A4E);

constexpr double BarWidth = 746;
constexpr double BarHeight = 50;

// A dark outer edge with a highlight under it, the base colour, a soft gloss over the upper
// half, and along the bottom the light inner line that the side strips continue.
uint16_t DefineBar(Movie& movie)
{
  Shape bar;
  bar.Rectangle(PxRect(0, 0, BarWidth, 1), bar.AddFill(Edge));
  bar.Rectangle(PxRect(0, 1, BarWidth, 2), bar.AddFill(Light));
  bar.Rectangle(PxRect(0, 2, BarWidth, BarHeight - 1), bar.AddFill(Base));
  bar.Rectangle(PxRect(0, BarHeight - 1, BarWidth, BarHeight), bar.AddFill(Inner));
  return movie.DefineShape(bar);
}

uint16_t DefineGloss(Movie& movie)
{
  Shape gloss;
  const struct {
    double top, bottom;
    uint8_t alpha;
  } bands[] = {{2, 8, 0x48}, {8, 14, 0x30}, {14, 20, 0x1C}, {20, 25, 0x0C}};
  for (const auto& band : bands)
    gloss.Rectangle(PxRect(0, band.top, BarWidth, band.bottom),
                    gloss.AddFill(Rgba(0xFBDFDD, band.alpha)));
  return movie.DefineShape(gloss);
}

// A diamond set in a ringed disc, left of the name.
void PlaceEmblem(Movie& movie, uint16_t depth)
{
  constexpr double cx = 31, cy = 25;
  Shape disc;
  disc.Circle(Px(cx), Px(cy), Px(14.5), disc.AddFill(Inner), disc.AddLine(Px(1.5), Light));
  Shape diamond;
  diamond.Polygon(PxPoints({{cx, cy - 10}, {cx + 10, cy}, {cx, cy + 10}, {cx - 10, cy}}),
                  diamond.AddFill(Base));
  Shape heart;
  heart.Polygon(PxPoints({{cx, cy - 4.5}, {cx + 4.5, cy}, {cx, cy + 4.5}, {cx - 4.5, cy}}),
                heart.AddFill(Light));
  for (const Shape* shape : {&disc, &diamond, &heart})
    movie.PlaceObject2({.depth = depth++, .character = movie.DefineShape(*shape)});
}

// The name in capitals drawn as 2-pixel strokes, 14 pixels high, from (left, top); sets `right`
// to where it ends.
uint16_t DefineName(Movie& movie, double left, double top, double& right)
{
  const struct {
    double width;
    const char* path;
  } letters[] = {
    {9, "M0 0 L9 0 L0 14 L9 14"},                                  // Z
    {10, "M0 14 L5 0 L10 14 M1.8 9 L8.2 9"},                       // A
    {9, "M0 14 L0 0 L5 0 Q9 0 9 3.5 Q9 7 5 7 L0 7 M4.5 7 L9 14"},  // R
    {0, "M0 0 L0 14"},                                             // I
    {10, "M0 14 L0 0 L10 14 L10 0"},                               // N
    {8, "M8 0 L0 0 L0 14 L8 14 M0 7 L6.5 7"},                      // E
    {8, "M0 0 L0 14 L8 14"},                                       // L
    {8, "M0 0 L0 14 L8 14"},                                       // L
    {8, "M8 0 L0 0 L0 14 L8 14 M0 7 L6.5 7"},                      // E
  };
  constexpr double spacing = 6;
  Shape name;
  name.LineStyle(name.AddLine(Px(2), Light));
  double x = left;
  for (const auto& letter : letters) {
    DrawPath(name, letter.path, x, top);
    x += letter.width + spacing;
  }
  right = x - spacing;
  return movie.DefineShape(name);
}

// A hairline from the name towards the buttons, between two small diamonds.
uint16_t DefineOrnament(Movie& movie, double left, double right)
{
  constexpr double y = 25.5;  // a 1-pixel line centred on a pixel row
  Shape ornament;
  const int fill = ornament.AddFill(Rgba(0xFBDFDD, 0xA0));
  for (double x : {left + 3, right - 3})
    ornament.Polygon(PxPoints({{x, y - 3}, {x + 3, y}, {x, y + 3}, {x - 3, y}}), fill);
  const auto hairline = PxPoints({{left + 9, y}, {right - 9, y}});
  ornament.Polyline(hairline, ornament.AddLine(Px(1), Rgba(0xFBDFDD, 0x70)));
  return movie.DefineShape(ornament);
}

// Caption buttons: 46 by 30 pixels, a rounded plate and a glyph, each in three looks.
constexpr double ButtonWidth = 46;
constexpr double ButtonHeight = 30;

enum class Glyph { Bar, Cross };

void DrawGlyph(Shape& shape, Glyph glyph, int fill)
{
  constexpr double cx = ButtonWidth / 2, cy = ButtonHeight / 2;
  if (glyph == Glyph::Bar) {
    shape.Rectangle(PxRect(cx - 7, cy + 3, cx + 7, cy + 5.5), fill);
    return;
  }
  // Two crossing bars as one outline, so no part of the fill is covered twice: one arm's two
  // corners and the notch beside it, turned four times by a quarter.
  constexpr double h = 6;                       // half the span of each bar
  const double k = 2.5 / (2 * std::sqrt(2.0));  // half the bar's thickness along each axis
  double x[3] = {-h - k, -h + k, 0};
  double y[3] = {-h + k, -h - k, -2 * k};
  std::vector<Point> outline;
  for (int quarter = 0; quarter < 4; ++quarter)
    for (int i = 0; i < 3; ++i) {
      outline.push_back(PxPoint(cx + x[i], cy + y[i]));
      std::tie(x[i], y[i]) = std::pair(-y[i], x[i]);
    }
  shape.Polygon(outline, fill);
}

uint16_t DefinePlate(Movie& movie, Color fill, Color outline)
{
  Shape plate;
  // The outline runs through pixel centres, so its one pixel stays sharp.
  plate.RoundedRectangle(PxRect(0.5, 0.5, ButtonWidth - 0.5, ButtonHeight - 0.5), Px(6),
                         plate.AddFill(fill), plate.AddLine(Px(1), outline));
  return movie.DefineShape(plate);
}

uint16_t DefineGlyph(Movie& movie, Glyph glyph, Color color)
{
  Shape shape;
  DrawGlyph(shape, glyph, shape.AddFill(color));
  return movie.DefineShape(shape);
}

uint16_t DefineCaptionButton(Movie& movie, Glyph glyph, const char* command)
{
  const uint16_t upPlate = DefinePlate(movie, Edge, Inner);
  const uint16_t overPlate = DefinePlate(movie, Inner, Light);
  const uint16_t downPlate = DefinePlate(movie, Light, Inner);
  const uint16_t lightGlyph = DefineGlyph(movie, glyph, Light);
  const uint16_t darkGlyph = DefineGlyph(movie, glyph, Deep);
  Shape area;
  area.Rectangle(PxRect(0, 0, ButtonWidth, ButtonHeight), area.AddFill(Base));
  const uint16_t hitArea = movie.DefineShape(area);

  Button button;
  button.Add(swf::kButtonUp, upPlate, 1).Add(swf::kButtonUp, lightGlyph, 2);
  button.Add(swf::kButtonOver, overPlate, 1).Add(swf::kButtonOver, darkGlyph, 2);
  // Pressed, the glyph sinks by a pixel.
  button.Add(swf::kButtonDown, downPlate, 1);
  button.Add(swf::kButtonDown, darkGlyph, 2, Matrix::Translate(0, Px(1)));
  button.Add(swf::kButtonHit, hitArea, 1);
  button.On(swf::kOverDownToOverUp, Actions().GetURL(std::string("FSCommand:") + command, ""));
  return movie.DefineButton2(button);
}

}  // namespace

Movie MenuMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, BarWidth, BarHeight), .frameRate = 12});
  movie.SetBackgroundColor(Base);
  movie.PlaceObject2({.depth = 1, .character = DefineBar(movie)});
  movie.PlaceObject2({.depth = 2, .character = DefineGloss(movie)});
  PlaceEmblem(movie, 3);
  double nameRight = 0;
  movie.PlaceObject2({.depth = 6, .character = DefineName(movie, 58, 18, nameRight)});
  movie.PlaceObject2({.depth = 7, .character = DefineOrnament(movie, nameRight + 14, 628)});

  // The window's drag area covers the bar left of x 640: the buttons lie right of it.
  const uint16_t minimize = DefineCaptionButton(movie, Glyph::Bar, "Min");
  const uint16_t close = DefineCaptionButton(movie, Glyph::Cross, "Close");
  movie.PlaceObject2(
    {.depth = 10, .character = minimize, .matrix = Matrix::Translate(Px(648), Px(10))});
  movie.PlaceObject2(
    {.depth = 11, .character = close, .matrix = Matrix::Translate(Px(698), Px(10))});

  movie.DoAction(Actions().Stop());
  movie.ShowFrame();
  return movie;
}

}  // namespace moviegen
