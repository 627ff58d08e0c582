// Where the movie's stage lands inside a target rectangle: the scale modes and the alignment of the
// control's `Scale`/`ScaleMode` and `SAlign`/`AlignMode` properties, and their texts. Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "flash_control/swf/Player.h"
#include "platform/Types.h"

namespace flash_control {

// Numbered as `ScaleMode` reports them.
enum class TScaleMode { ShowAll = 0, NoBorder = 1, ExactFit = 2, NoScale = 3 };

// `AlignMode` bits; no bit centres the stage on that axis.
enum TAlignBits : unsigned { AlignLeft = 1, AlignRight = 2, AlignTop = 4, AlignBottom = 8 };
constexpr unsigned AlignMask = AlignLeft | AlignRight | AlignTop | AlignBottom;

// The part of the stage on show, in stage pixels: the whole stage, or less when zoomed in.
struct TStageView {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;

  friend bool operator==(const TStageView&, const TStageView&) = default;
};

// Fits the view into the target rectangle. An empty view maps stage pixels to target pixels
// unscaled from the target's top-left corner.
swf::StageTransform FitStage(const TStageView& view, const TRect& target, TScaleMode mode,
                         unsigned align);

// The texts compare without regard to case; an unknown text gives none.
std::optional<TScaleMode> ScaleModeFromText(std::u16string_view text);
std::u16string ScaleModeText(TScaleMode mode);
// Letters L, R, T and B in any order; the empty text centres.
std::optional<unsigned> AlignFromText(std::u16string_view text);
std::u16string AlignText(unsigned align);

}  // namespace flash_control
