#include "flash_control/swf/Player.h"

#include <cmath>

#include "flash_control/swf/format/Movie.h"
#include "flash_control/swf/format/Reader.h"
#include "flash_control/swf/raster/Blend.h"
#include "flash_control/swf/raster/Painter.h"
#include "flash_control/swf/runtime/RenderList.h"
#include "flash_control/swf/runtime/Stage.h"
#include "flash_control/swf/script/Value.h"

namespace swf {

namespace {

constexpr Rgba kWhite{255, 255, 255, 255};

// Transforms beyond these are not drawn: nothing sensible is that large.
constexpr double kMaxScale = 1000;
constexpr double kMaxOffset = 1 << 20;

int64_t Floor(int64_t a, int64_t b)
{
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

Player::Player(Host* host, const Limits& limits) : stage_(std::make_unique<Stage>(host, limits)) {}

Player::~Player() = default;
Player::Player(Player&&) noexcept = default;
Player& Player::operator=(Player&&) noexcept = default;

// Loading -----------------------------------------------------------------------------------------------

bool Player::Load(int layer, std::span<const uint8_t> bytes, const Variables& variables)
{
  lastError_.clear();
  std::shared_ptr<const Movie> movie;
  try {
    movie = ParseMovie(bytes, stage_->GetLimits());
  } catch (const FormatError& e) {
    lastError_ = e.what();
  } catch (const std::bad_alloc&) {
    lastError_ = "out of memory";
  }
  if (!movie) {
    // As a movie loaded on layer 0 would, a failed one leaves nothing of the old stage.
    if (layer == 0)
      stage_->UnloadAll();
    else
      stage_->Unload(layer);
    return false;
  }
  stage_->Load(layer, std::move(movie), variables);
  return true;
}

void Player::Unload(int layer)
{
  stage_->Unload(layer);
}

bool Player::HasMovie(int layer) const
{
  return stage_->Root(layer) != nullptr;
}

std::optional<MovieInfo> Player::Info(int layer) const
{
  const SpriteObject* root = stage_->Root(layer);
  if (root == nullptr)
    return std::nullopt;
  const Movie& movie = root->GetMovie();
  MovieInfo info;
  info.Version = movie.Version;
  info.Compressed = movie.Compressed;
  info.Frame = movie.FrameSize;
  info.Width = static_cast<int32_t>(std::max<int64_t>(0, (int64_t{movie.FrameSize.XMax} - movie.FrameSize.XMin) / kTwipsPerPixel));
  info.Height = static_cast<int32_t>(std::max<int64_t>(0, (int64_t{movie.FrameSize.YMax} - movie.FrameSize.YMin) / kTwipsPerPixel));
  info.FrameRate = movie.FrameRate / 256.0;
  info.FrameCount = static_cast<uint32_t>(movie.Root.Frames.size());
  info.FramesLoaded = info.FrameCount;
  info.Background = movie.Background.value_or(kWhite);
  return info;
}

void Player::SetBackgroundOverride(std::optional<Rgba> color)
{
  if (color != backgroundOverride_)
    backgroundChanged_ = true;
  backgroundOverride_ = color;
}

Rgba Player::Background() const
{
  if (backgroundOverride_)
    return {backgroundOverride_->R, backgroundOverride_->G, backgroundOverride_->B, 255};
  const SpriteObject* root = stage_->Root(0);
  return root ? root->GetMovie().Background.value_or(kWhite) : kWhite;
}

TwipsRect Player::StageFrame() const
{
  const SpriteObject* root = stage_->Root(0);
  return root ? root->GetMovie().FrameSize : TwipsRect{};
}

// Timelines ---------------------------------------------------------------------------------------------

DisplayObject* Player::Target(std::string_view target) const
{
  return stage_->Root(0) ? stage_->ResolveTarget(nullptr, target) : nullptr;
}

SpriteObject* Player::Sprite(std::string_view target) const
{
  DisplayObject* object = Target(target);
  return object && object->GetKind() == DisplayObject::Kind::Sprite ? static_cast<SpriteObject*>(object) : nullptr;
}

bool Player::Play(std::string_view target)
{
  SpriteObject* sprite = Sprite(target);
  if (sprite)
    sprite->Playing = true;
  return sprite != nullptr;
}

bool Player::Stop(std::string_view target)
{
  SpriteObject* sprite = Sprite(target);
  if (sprite)
    sprite->Playing = false;
  return sprite != nullptr;
}

bool Player::GotoFrame(std::string_view target, uint32_t frame)
{
  SpriteObject* sprite = Sprite(target);
  if (sprite == nullptr)
    return false;
  stage_->StartTurn();
  stage_->GotoFrame(*sprite, frame);
  stage_->RunScripts();
  return true;
}

bool Player::GotoLabel(std::string_view target, std::string_view label)
{
  SpriteObject* sprite = Sprite(target);
  if (sprite == nullptr)
    return false;
  stage_->StartTurn();
  const bool found = stage_->GotoLabel(*sprite, label);
  stage_->RunScripts();
  return found;
}

bool Player::CallFrame(std::string_view target, uint32_t frame)
{
  SpriteObject* sprite = Sprite(target);
  if (sprite == nullptr || frame >= sprite->Content.Frames.size())
    return false;
  stage_->StartTurn();
  stage_->CallFrame(*sprite, frame);
  stage_->RunScripts();
  return true;
}

bool Player::CallLabel(std::string_view target, std::string_view label)
{
  SpriteObject* sprite = Sprite(target);
  const auto frame = sprite ? sprite->Content.FindLabel(label) : std::nullopt;
  return frame && CallFrame(target, *frame);
}

std::optional<uint32_t> Player::CurrentFrame(std::string_view target) const
{
  const SpriteObject* sprite = Sprite(target);
  return sprite ? std::optional<uint32_t>(sprite->CurrentFrame) : std::nullopt;
}

std::optional<std::string> Player::CurrentLabel(std::string_view target) const
{
  const SpriteObject* sprite = Sprite(target);
  return sprite ? std::optional<std::string>(sprite->Content.LabelAt(sprite->CurrentFrame)) : std::nullopt;
}

std::optional<uint32_t> Player::TotalFrames(std::string_view target) const
{
  const SpriteObject* sprite = Sprite(target);
  return sprite ? std::optional<uint32_t>(static_cast<uint32_t>(sprite->Content.Frames.size())) : std::nullopt;
}

std::optional<bool> Player::IsPlaying(std::string_view target) const
{
  const SpriteObject* sprite = Sprite(target);
  return sprite ? std::optional<bool>(sprite->Playing) : std::nullopt;
}

void Player::SetLoop(bool loop)
{
  stage_->Loop = loop;
}

bool Player::Loop() const
{
  return stage_->Loop;
}

void Player::Back()
{
  if (SpriteObject* root = stage_->Root(0)) {
    if (root->CurrentFrame > 0)
      GotoFrame("/", root->CurrentFrame - 1);
    root->Playing = false;
  }
}

void Player::Forward()
{
  if (SpriteObject* root = stage_->Root(0)) {
    GotoFrame("/", root->CurrentFrame + 1);
    root->Playing = false;
  }
}

void Player::Rewind()
{
  if (SpriteObject* root = stage_->Root(0)) {
    GotoFrame("/", 0);
    root->Playing = false;
  }
}

// Variables and properties ------------------------------------------------------------------------------

std::optional<std::string> Player::GetVariable(std::string_view name) const
{
  SpriteObject* root = stage_->Root(0);
  if (root == nullptr)
    return std::nullopt;
  const Value value = stage_->GetVariable(root, name);
  if (value.IsUndefined())
    return std::nullopt;
  return value.ToString(root->Version());
}

bool Player::SetVariable(std::string_view name, std::string_view value)
{
  SpriteObject* root = stage_->Root(0);
  if (root == nullptr || name.empty())
    return false;
  return stage_->SetVariable(root, name, Value(std::string(value)));
}

std::optional<std::string> Player::GetProperty(std::string_view target, int index) const
{
  DisplayObject* object = Target(target);
  if (object == nullptr)
    return std::nullopt;
  const Value value = stage_->GetProperty(*object, index);
  if (value.IsUndefined())
    return std::nullopt;
  return value.ToString(object->Version());
}

std::optional<double> Player::GetPropertyNumber(std::string_view target, int index) const
{
  DisplayObject* object = Target(target);
  if (object == nullptr)
    return std::nullopt;
  const Value value = stage_->GetProperty(*object, index);
  if (value.IsUndefined())
    return std::nullopt;
  return value.ToNumber(object->Version());
}

bool Player::SetProperty(std::string_view target, int index, std::string_view value)
{
  DisplayObject* object = Target(target);
  if (object)
    stage_->SetProperty(*object, index, Value(std::string(value)));
  return object != nullptr;
}

bool Player::SetPropertyNumber(std::string_view target, int index, double value)
{
  DisplayObject* object = Target(target);
  if (object)
    stage_->SetProperty(*object, index, Value(value));
  return object != nullptr;
}

// Time --------------------------------------------------------------------------------------------------

void Player::Advance()
{
  stage_->Advance();
}

Damage Player::TakeDamage()
{
  std::vector<RenderItem> now = BuildRenderList(*stage_);
  Damage damage;
  damage.Everything = stage_->TakeStructureChanged() || std::exchange(backgroundChanged_, false);
  if (!damage.Everything) {
    const TwipsRect area = ChangedArea(shown_, now);
    if (!area.Empty()) {
      // Anti-aliasing and the one-pixel minimum line width reach past the exact bounds.
      const TwipsRect frame = StageFrame();
      auto pixel = [](int64_t twips, int64_t origin, int64_t round) {
        return static_cast<int32_t>(std::clamp<int64_t>(Floor(twips - origin + round, kTwipsPerPixel), -(1 << 24), 1 << 24));
      };
      damage.Area = {pixel(area.XMin, frame.XMin, 0) - 1, pixel(area.YMin, frame.YMin, 0) - 1,
                     pixel(area.XMax, frame.XMin, kTwipsPerPixel - 1) + 1, pixel(area.YMax, frame.YMin, kTwipsPerPixel - 1) + 1};
    }
  }
  shown_ = std::move(now);
  return damage;
}

// Drawing -----------------------------------------------------------------------------------------------

void Player::Render(const PixelView& target, const StageTransform& transform, const TRect& clipIn, Backdrop backdrop) const
{
  const TRect clip{std::max(clipIn.Left, 0), std::max(clipIn.Top, 0), std::min(clipIn.Right, target.Width),
                   std::min(clipIn.Bottom, target.Height)};
  if (target.FirstRow == nullptr || clip.Right <= clip.Left || clip.Bottom <= clip.Top)
    return;
  if (backdrop == Backdrop::Opaque)
    raster::FillRect(target, clip.Left, clip.Top, clip.Right, clip.Bottom, Background());

  const double values[] = {transform.ScaleX, transform.ScaleY, transform.OffsetX, transform.OffsetY};
  for (double v : values) {
    if (!std::isfinite(v))
      return;
  }
  if (std::abs(transform.ScaleX) > kMaxScale || std::abs(transform.ScaleY) > kMaxScale ||
      std::abs(transform.OffsetX) > kMaxOffset || std::abs(transform.OffsetY) > kMaxOffset)
    return;

  // Subpixels per twip in 16.16, and the target position of the stage's corner in subpixels.
  constexpr double kSubpixelsPerTwip = double(raster::kSubpixels) / kTwipsPerPixel;
  const TwipsRect frame = StageFrame();
  raster::StageMapping mapping;
  mapping.ScaleX = std::llround(transform.ScaleX * kSubpixelsPerTwip * 65536);
  mapping.ScaleY = std::llround(transform.ScaleY * kSubpixelsPerTwip * 65536);
  mapping.OffsetX = std::llround(transform.OffsetX * raster::kSubpixels) - ((int64_t{frame.XMin} * mapping.ScaleX) >> 16);
  mapping.OffsetY = std::llround(transform.OffsetY * raster::kSubpixels) - ((int64_t{frame.YMin} * mapping.ScaleY) >> 16);

  raster::Painter painter(target, clip);
  DrawItems(BuildRenderList(*stage_), painter, mapping);
}

// Pointer -----------------------------------------------------------------------------------------------

std::pair<int32_t, int32_t> Player::ToTwips(double x, double y) const
{
  const TwipsRect frame = StageFrame();
  auto twips = [](double v, int32_t origin) {
    if (!std::isfinite(v))
      return origin;
    return SaturateToInt32(std::llround(std::clamp(v * kTwipsPerPixel, -1e15, 1e15)) + origin);
  };
  return {twips(x, frame.XMin), twips(y, frame.YMin)};
}

void Player::PointerMove(double x, double y)
{
  const auto [tx, ty] = ToTwips(x, y);
  stage_->PointerMove(tx, ty);
}

void Player::PointerDown(double x, double y)
{
  const auto [tx, ty] = ToTwips(x, y);
  stage_->PointerDown(tx, ty);
}

void Player::PointerUp(double x, double y)
{
  const auto [tx, ty] = ToTwips(x, y);
  stage_->PointerUp(tx, ty);
}

void Player::PointerLeave()
{
  stage_->PointerLeave();
}

bool Player::OverButton() const
{
  return stage_->OverButton();
}

uint32_t Player::StoppedScripts() const
{
  return stage_->StoppedScripts();
}

}  // namespace swf
