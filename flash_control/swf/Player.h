// The movie player: the one entry point of the engine. It loads movies into layers, plays their
// timelines a frame at a time, answers and changes variables and properties, takes the pointer,
// reports what needs repainting and draws into 32-bit pixels. Pure C++: no Windows header.
//
// Conventions:
// - Texts are UTF-8 (8-bit movies' texts pass through as they are).
// - Frame numbers are 0-based everywhere in this interface (the _currentframe property, which
//   scripts see, stays 1-based as scripts expect).
// - Targets are paths: "" or "/" or "_level0" for the root of layer 0, "_level1" for layer 1,
//   "/menu/close" or "_level0.menu.close" for sprites inside.
// - Stage pixels: (0, 0) is the top left corner of the movie's frame; 20 twips make one pixel.
// - Nothing here throws: a movie that does not load leaves an empty layer and says why.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "flash_control/swf/Host.h"
#include "flash_control/swf/Limits.h"
#include "flash_control/swf/format/Geometry.h"
#include "flash_control/swf/raster/PixelView.h"
#include "platform/Types.h"

namespace swf {

class Stage;
struct Movie;
struct RenderItem;

struct MovieInfo {
  uint8_t Version = 0;
  bool Compressed = false;
  int32_t Width = 0, Height = 0;  // stage pixels
  TwipsRect Frame;                // the stage in twips, as the movie states it
  double FrameRate = 0;           // frames per second; 0 when the movie states none
  uint32_t FrameCount = 0;        // frames of the root timeline
  uint32_t FramesLoaded = 0;      // all of them: a movie is parsed whole before it plays
  Rgba Background;                // white unless the movie sets one
};

// Stage pixels to target pixels: target = stage * Scale + Offset.
struct StageTransform {
  double ScaleX = 1, ScaleY = 1;
  double OffsetX = 0, OffsetY = 0;

  friend bool operator==(const StageTransform&, const StageTransform&) = default;
};

enum class Backdrop {
  Opaque,       // the clip is filled with the background colour first
  Transparent,  // only the shapes are composited (source-over) onto the pixels already there
};

// What changed since the last TakeDamage, in stage pixels.
struct Damage {
  bool Everything = false;
  TRect Area;  // empty when nothing changed (or when Everything is set)

  bool None() const { return !Everything && (Area.Right <= Area.Left || Area.Bottom <= Area.Top); }
};

using Variables = std::vector<std::pair<std::string, std::string>>;

class Player {
public:
  explicit Player(Host* host = nullptr, const Limits& limits = {});
  ~Player();
  Player(Player&&) noexcept;
  Player& operator=(Player&&) noexcept;

  // Loading ---------------------------------------------------------------------------------------
  // Loads a movie file (signature "FWS" or "CWS") into `layer`: 0 replaces every layer, a higher
  // layer plays above the lower ones. `variables` are set on the new root before its first frame's
  // scripts run. False when the bytes are not a playable movie: the layer is then empty (for
  // layer 0, the whole stage) and LastError says why.
  bool Load(int layer, std::span<const uint8_t> movie, const Variables& variables = {});
  void Unload(int layer);
  bool HasMovie(int layer = 0) const;
  const std::string& LastError() const { return lastError_; }
  // About the movie on `layer`; nothing when the layer is empty.
  std::optional<MovieInfo> Info(int layer = 0) const;
  // A colour that replaces the movie's background, or nothing to use the movie's again.
  void SetBackgroundOverride(std::optional<Rgba> color);

  // Timelines (false or nothing when the target does not exist) ---------------------------------
  bool Play(std::string_view target = "/");
  bool Stop(std::string_view target = "/");
  // Goes to a frame (clamped to the last) and runs its scripts; playing or stopped stays as it was.
  bool GotoFrame(std::string_view target, uint32_t frame);
  bool GotoLabel(std::string_view target, std::string_view label);
  // Runs the scripts of a frame without going there.
  bool CallFrame(std::string_view target, uint32_t frame);
  bool CallLabel(std::string_view target, std::string_view label);
  std::optional<uint32_t> CurrentFrame(std::string_view target = "/") const;
  // The label of the current frame or of the nearest labelled frame before it ("" when none).
  std::optional<std::string> CurrentLabel(std::string_view target = "/") const;
  std::optional<uint32_t> TotalFrames(std::string_view target = "/") const;
  std::optional<bool> IsPlaying(std::string_view target = "/") const;
  // At the last frame a layer's root wraps to the first when looping, else it stops. Default: on.
  void SetLoop(bool loop);
  bool Loop() const;
  // On the root of layer 0: one frame back or forward and stop; the first frame and stop.
  void Back();
  void Forward();
  void Rewind();

  // Variables and properties ------------------------------------------------------------------
  // "name" on the root of layer 0, or "path:name" / "path.name" elsewhere. Nothing when undefined.
  std::optional<std::string> GetVariable(std::string_view name) const;
  // False when the path leads nowhere or the value does not fit the scripts' byte budget.
  bool SetVariable(std::string_view name, std::string_view value);
  // Display properties by number: 0 _x, 1 _y, 2 _xscale, 3 _yscale, 4 _currentframe (1-based),
  // 5 _totalframes, 6 _alpha, 7 _visible, 8 _width, 9 _height, 10 _rotation, 11 _target,
  // 12 _framesloaded, 13 _name, 14 _droptarget, 15 _url, 16 _highquality, 17 _focusrect,
  // 18 _soundbuftime, 19 _quality, 20 _xmouse, 21 _ymouse.
  std::optional<std::string> GetProperty(std::string_view target, int index) const;
  std::optional<double> GetPropertyNumber(std::string_view target, int index) const;
  bool SetProperty(std::string_view target, int index, std::string_view value);
  bool SetPropertyNumber(std::string_view target, int index, double value);

  // Time ----------------------------------------------------------------------------------------
  // One frame of every playing timeline (call it at Info().FrameRate), then the scripts it queued.
  void Advance();
  // What changed on stage since the last call (by frames, scripts, the pointer or calls here).
  Damage TakeDamage();

  // Drawing ---------------------------------------------------------------------------------------
  // Draws the current frame into `target` within `clip` (target pixels, clipped to the view). The
  // pixels are anti-aliased and the same on every platform for the same arguments.
  void Render(const PixelView& target, const StageTransform& transform, const TRect& clip, Backdrop backdrop) const;

  // Pointer, in stage pixels ------------------------------------------------------------------
  void PointerMove(double x, double y);
  void PointerDown(double x, double y);
  void PointerUp(double x, double y);
  void PointerLeave();
  // Whether the pointer is over a button (or holds one pressed while over it).
  bool OverButton() const;

  // Scripts cut short by the action and time caps or by malformed code, since loading.
  uint32_t StoppedScripts() const;

private:
  class SpriteObject* Sprite(std::string_view target) const;
  class DisplayObject* Target(std::string_view target) const;
  Rgba Background() const;
  TwipsRect StageFrame() const;
  std::pair<int32_t, int32_t> ToTwips(double x, double y) const;

  std::unique_ptr<Stage> stage_;
  std::string lastError_;
  std::optional<Rgba> backgroundOverride_;
  bool backgroundChanged_ = false;
  std::vector<RenderItem> shown_;
};

}  // namespace swf
