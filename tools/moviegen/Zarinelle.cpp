// The game scene: an evening landscape that loops every three seconds. Stars twinkle on their own
// timelines, the sun bobs behind the hills under a pulsing halo, clouds drift, a windmill turns,
// birds circle with beating wings, and a round button pauses and resumes the scene.
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <numbers>
#include <optional>
#include <vector>

#include "tools/moviegen/Drawing.h"
#include "tools/moviegen/Movies.h"

namespace moviegen {

using namespace swfwriter;

namespace {

constexpr double Width = 740;
constexpr double Height = 400;
constexpr int Frames = 60;

constexpr Color Night = Rgb(0x2B1A33);
constexpr Color Dusk = Rgb(0x7A3B55);
constexpr Color Rose = Rgb(0xC76D6D);
constexpr Color Peach = Rgb(0xFBA19E);
constexpr Color Pale = Rgb(0xFBDFDD);
constexpr Color FarHill = Rgb(0x8E4A5E);
constexpr Color NearHill = Rgb(0x4E2840);
constexpr Color Ink = Night;  // silhouettes

// Where a frame lies in the loop, as an angle: every motion is periodic, so the loop is seamless.
double Turn(double frame, double cycles = 1, double phase = 0)
{
  return 2 * std::numbers::pi * (frame * cycles / Frames + phase);
}

// A gradient from night at the top to peach at the horizon, in 4-pixel bands.
uint16_t DefineSky(Movie& movie)
{
  const struct {
    double y;
    Color color;
  } stops[] = {{0, Night}, {120, Dusk}, {210, Rose}, {290, Peach}};
  Shape sky;
  constexpr double band = 4, last = 296;
  for (double top = 0; top < last; top += band) {
    size_t i = 0;
    while (i + 2 < std::size(stops) && top >= stops[i + 1].y)
      ++i;
    const double t = std::min(1.0, (top - stops[i].y) / (stops[i + 1].y - stops[i].y));
    const double bottom = top + band >= last ? Height : top + band;
    sky.Rectangle(PxRect(0, top, Width, bottom),
                  sky.AddFill(Mix(stops[i].color, stops[i + 1].color, t)));
  }
  return movie.DefineShape(sky);
}

// A four-pointed star fading and brightening on a timeline of its own, from `phase` of its cycle.
uint16_t DefineTwinkle(Movie& movie, uint16_t star, double phase)
{
  constexpr int frames = 24;
  Sprite twinkle;
  for (int frame = 0; frame < frames; ++frame) {
    const double glow =
      0.5 + 0.5 * std::cos(2 * std::numbers::pi * (double(frame) / frames + phase));
    twinkle.PlaceObject2({.depth = 1,
                          .move = frame > 0,
                          .character = frame == 0 ? std::optional(star) : std::nullopt,
                          .colorTransform = ColorTransform::Alpha(0.3 + 0.7 * glow)});
    twinkle.ShowFrame();
  }
  return movie.DefineSprite(twinkle);
}

uint16_t DefineStar(Movie& movie)
{
  Shape star;
  star.Polygon(
    PxPoints(
      {{0, -5}, {1.1, -1.1}, {5, 0}, {1.1, 1.1}, {0, 5}, {-1.1, 1.1}, {-5, 0}, {-1.1, -1.1}}),
    star.AddFill(Pale));
  return movie.DefineShape(star);
}

uint16_t DefineDisc(Movie& movie, double radius, Color color)
{
  Shape disc;
  disc.Circle(0, 0, Px(radius), disc.AddFill(color));
  return movie.DefineShape(disc);
}

uint16_t DefineFilledPath(Movie& movie, const char* path, Color color)
{
  Shape shape;
  // Paths here run clockwise on the screen, so their inside is fill style 1.
  shape.FillStyle1(shape.AddFill(color));
  DrawPath(shape, path);
  return movie.DefineShape(shape);
}

uint16_t DefineTower(Movie& movie)
{
  Shape tower;
  const int fill = tower.AddFill(Ink);
  tower.Polygon(PxPoints({{142, 318}, {145, 262}, {155, 262}, {158, 318}}), fill);
  tower.Polygon(PxPoints({{141, 263}, {150, 251}, {159, 263}}), fill);
  tower.Rectangle(PxRect(148, 290, 152, 300), tower.AddFill(Peach));  // a lit window
  return movie.DefineShape(tower);
}

// Four blades around the origin, where the hub turns them.
uint16_t DefineSails(Movie& movie)
{
  Shape sails;
  const int fill = sails.AddFill(Mix(Pale, Rose, 0.25));
  for (int blade = 0; blade < 4; ++blade) {
    const double a = blade * std::numbers::pi / 2;
    const auto at = [a](double along, double across) {
      return PxPoint(along * std::cos(a) - across * std::sin(a),
                     along * std::sin(a) + across * std::cos(a));
    };
    const Point outline[] = {at(5, -1.5), at(36, -4), at(36, 4), at(5, 1.5)};
    sails.Polygon(outline, fill);
  }
  return movie.DefineShape(sails);
}

// A bird as two curved wing strokes meeting at the body, the wing tips at height `tip`.
uint16_t DefineBird(Movie& movie, double tip)
{
  Shape bird;
  bird.LineStyle(bird.AddLine(Px(1.6), Ink));
  bird.MoveTo(Px(-10), Px(tip));
  bird.CurveTo(Px(-5), Px(tip * 0.3 - 3), 0, 0);
  bird.CurveTo(Px(5), Px(tip * 0.3 - 3), Px(10), Px(tip));
  return movie.DefineShape(bird);
}

// Wing beats: one wing shape per frame, swapped at the same depth.
uint16_t DefineFlyingBird(Movie& movie)
{
  std::vector<uint16_t> poses;
  for (double tip : {-5.0, -2.0, 2.0, 4.0, 2.0, -2.0})
    poses.push_back(DefineBird(movie, tip));
  Sprite flight;
  for (size_t frame = 0; frame < poses.size(); ++frame) {
    if (frame > 0)
      flight.RemoveObject2(1);
    flight.PlaceObject2({.depth = 1, .character = poses[frame]});
    flight.ShowFrame();
  }
  return movie.DefineSprite(flight);
}

// A round button with a pause sign; pressing it pauses the scene, pressing again resumes it.
uint16_t DefinePauseButton(Movie& movie)
{
  constexpr double radius = 18;
  const auto plate = [&](Color fill, std::optional<Color> outline) {
    Shape shape;
    const int line = outline ? shape.AddLine(Px(2), *outline) : 0;
    shape.Circle(0, 0, Px(radius), shape.AddFill(fill), line);
    return movie.DefineShape(shape);
  };
  const auto sign = [&](Color color) {
    Shape shape;
    const int fill = shape.AddFill(color);
    shape.RoundedRectangle(PxRect(-6, -7, -2, 7), Px(1), fill);
    shape.RoundedRectangle(PxRect(2, -7, 6, 7), Px(1), fill);
    return movie.DefineShape(shape);
  };
  const uint16_t upPlate = plate(Rgba(0xFBDFDD, 0xB0), std::nullopt);
  const uint16_t overPlate = plate(Pale, Peach);
  const uint16_t downPlate = plate(Peach, Pale);
  const uint16_t darkSign = sign(NearHill);
  const uint16_t roseSign = sign(Rose);

  Actions toggle;
  const auto resume = toggle.NewLabel();
  const auto done = toggle.NewLabel();
  toggle.Push("paused").GetVariable().If(resume);
  toggle.Push({"paused", true}).SetVariable().Stop().Jump(done);
  toggle.Bind(resume).Push({"paused", false}).SetVariable().Play();
  toggle.Bind(done);

  Button button;
  button.Add(swf::kButtonUp, upPlate, 1).Add(swf::kButtonUp, darkSign, 2);
  button.Add(swf::kButtonOver, overPlate, 1).Add(swf::kButtonOver, roseSign, 2);
  button.Add(swf::kButtonDown, downPlate, 1);
  button.Add(swf::kButtonDown, darkSign, 2, Matrix::Translate(0, Px(1)));
  button.Add(swf::kButtonHit, upPlate, 1);
  button.On(swf::kOverDownToOverUp, toggle);
  return movie.DefineButton2(button);
}

// Something placed at a depth and moved on every frame of the loop.
struct Actor {
  uint16_t depth;
  uint16_t character;
  std::function<Matrix(int frame)> matrix;
  std::function<std::optional<ColorTransform>(int frame)> transform = [](int) {
    return std::nullopt;
  };
};

}  // namespace

Movie ZarinelleMovie()
{
  Movie movie({.version = 8, .frame = PxRect(0, 0, Width, Height), .frameRate = 20});
  movie.SetBackgroundColor(Night);

  // The stage, back to front. What does not move is placed once, on the first frame.
  movie.PlaceObject2({.depth = 1, .character = DefineSky(movie)});

  const uint16_t star = DefineStar(movie);  // stars twinkle on their own timelines
  const uint16_t twinkles[] = {DefineTwinkle(movie, star, 0), DefineTwinkle(movie, star, 0.5)};
  const struct {
    double x, y, scale;
  } stars[] = {{60, 40, 0.9},   {150, 95, 0.6}, {235, 28, 0.7}, {330, 70, 1.0}, {420, 22, 0.6},
               {470, 120, 0.5}, {600, 36, 0.8}, {680, 92, 0.6}, {705, 20, 0.5}};
  uint16_t depth = 2;
  for (size_t i = 0; i < std::size(stars); ++i) {
    const auto& s = stars[i];
    movie.PlaceObject2({.depth = depth++,
                        .character = twinkles[i % 2],
                        .matrix = Matrix::Transform(Px(s.x), Px(s.y), s.scale, s.scale, 15.0 * i)});
  }

  const uint16_t halo = DefineDisc(movie, 64, Rgba(0xFBA19E, 0x70));
  const uint16_t sun = DefineDisc(movie, 36, Pale);
  const uint16_t cloud = DefineFilledPath(
    movie,
    "M-56 10 Q-72 -4 -50 -12 Q-48 -32 -24 -28 Q-12 -46 10 -36 Q30 -48 40 -26 Q62 -28 60 -6 "
    "Q74 6 56 10 L-56 10",
    Rgba(0xFBC0BD, 0xA0));
  const uint16_t farHills = DefineFilledPath(
    movie,
    "M0 400 L0 270 Q90 225 180 262 Q270 300 360 266 Q450 232 540 258 Q640 290 740 252 "
    "L740 400 L0 400",
    FarHill);
  const uint16_t nearHills = DefineFilledPath(
    movie, "M0 400 L0 330 Q120 300 240 322 Q360 346 480 318 Q600 292 740 324 L740 400 L0 400",
    NearHill);
  const uint16_t tower = DefineTower(movie);
  const uint16_t sails = DefineSails(movie);
  const uint16_t hub = DefineDisc(movie, 3.5, Ink);
  const uint16_t bird = DefineFlyingBird(movie);
  const uint16_t pause = DefinePauseButton(movie);

  movie.PlaceObject2({.depth = 23, .character = farHills});
  movie.PlaceObject2({.depth = 24, .character = nearHills});
  movie.PlaceObject2({.depth = 25, .character = tower});
  movie.PlaceObject2(
    {.depth = 27, .character = hub, .matrix = Matrix::Translate(Px(150), Px(258))});
  movie.PlaceObject2(
    {.depth = 40, .character = pause, .matrix = Matrix::Translate(Px(704), Px(366))});

  // The actors, placed on the first frame and moved on every later one.
  const auto sunY = [](int f) { return 232 + 10 * std::cos(Turn(f)); };
  std::vector<Actor> actors = {
    {20, halo,
     [&](int f) {
       const double pulse = 1 + 0.06 * std::cos(Turn(f, 2));
       return Matrix::Transform(Px(540), Px(sunY(f)), pulse, pulse);
     },
     [](int f) { return std::optional(ColorTransform::Alpha(0.6 + 0.4 * std::cos(Turn(f, 2)))); }},
    {21, sun, [&](int f) { return Matrix::Translate(Px(540), Px(sunY(f))); }},
    {22, cloud,
     [](int f) {
       return Matrix::Transform(Px(600 + 18 * std::sin(Turn(f, 1, 0.3))), Px(62), 0.7, 0.7);
     }},
    {26, sails, [](int f) { return Matrix::Transform(Px(150), Px(258), 1, 1, 90.0 * f / Frames); }},
    {28, cloud, [](int f) { return Matrix::Translate(Px(250 + 24 * std::sin(Turn(f))), Px(96)); }},
  };
  const struct {
    double x, y, radiusX, radiusY, scale, phase;
  } flock[] = {
    {330, 150, 80, 20, 1.0, 0}, {300, 170, 60, 14, 0.8, 0.4}, {380, 135, 50, 12, 0.65, 0.7}};
  depth = 30;
  for (const auto& b : flock)
    actors.push_back({depth++, bird, [b](int f) {
                        return Matrix::Transform(
                          Px(b.x + b.radiusX * std::cos(Turn(f, 1, b.phase))),
                          Px(b.y + b.radiusY * std::sin(Turn(f, 1, b.phase))), b.scale, b.scale);
                      }});

  for (int frame = 0; frame < Frames; ++frame) {
    if (frame == 0) {
      movie.FrameLabel("dawn");
      movie.DoAction(Actions().Push({"paused", false}).SetVariable());
    } else if (frame == Frames / 2) {
      movie.FrameLabel("dusk");
    }
    for (const Actor& actor : actors)
      movie.PlaceObject2({.depth = actor.depth,
                          .move = frame > 0,
                          .character = frame == 0 ? std::optional(actor.character) : std::nullopt,
                          .matrix = actor.matrix(frame),
                          .colorTransform = actor.transform(frame)});
    movie.ShowFrame();
  }
  return movie;
}

}  // namespace moviegen
