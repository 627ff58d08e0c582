#include "flash_control/com/StageLayout.h"

#include <algorithm>

#include "flash_control/com/PropertyText.h"

namespace flash_control {

namespace {

// Where a stage span of `size` starts inside a target span: at its near edge, its far edge, or
// centred.
double Place(double start, double extent, double size, bool nearEdge, bool farEdge)
{
  if (nearEdge) return start;
  if (farEdge) return start + extent - size;
  return start + (extent - size) / 2;
}

}  // namespace

swf::StageTransform FitStage(const TStageView& view, const TRect& target, TScaleMode mode,
                         unsigned align)
{
  const double width = target.Right - target.Left;
  const double height = target.Bottom - target.Top;
  if (view.Width <= 0 || view.Height <= 0) return {1, 1, double(target.Left), double(target.Top)};

  swf::StageTransform t;
  switch (mode) {
  case TScaleMode::ShowAll:
    t.ScaleX = t.ScaleY = std::min(width / view.Width, height / view.Height);
    break;
  case TScaleMode::NoBorder:
    t.ScaleX = t.ScaleY = std::max(width / view.Width, height / view.Height);
    break;
  case TScaleMode::ExactFit:
    t.ScaleX = width / view.Width;
    t.ScaleY = height / view.Height;
    break;
  case TScaleMode::NoScale:
    break;
  }
  t.OffsetX =
    Place(target.Left, width, view.Width * t.ScaleX, align & AlignLeft, align & AlignRight) -
    view.Left * t.ScaleX;
  t.OffsetY =
    Place(target.Top, height, view.Height * t.ScaleY, align & AlignTop, align & AlignBottom) -
    view.Top * t.ScaleY;
  return t;
}

std::optional<TScaleMode> ScaleModeFromText(std::u16string_view text)
{
  for (TScaleMode mode :
       {TScaleMode::ShowAll, TScaleMode::NoBorder, TScaleMode::ExactFit, TScaleMode::NoScale})
    if (SameText(text, ScaleModeText(mode))) return mode;
  return std::nullopt;
}

std::u16string ScaleModeText(TScaleMode mode)
{
  switch (mode) {
  case TScaleMode::NoBorder:
    return u"NoBorder";
  case TScaleMode::ExactFit:
    return u"ExactFit";
  case TScaleMode::NoScale:
    return u"NoScale";
  case TScaleMode::ShowAll:
    break;
  }
  return u"ShowAll";
}

std::optional<unsigned> AlignFromText(std::u16string_view text)
{
  unsigned align = 0;
  for (char16_t c : text) {
    switch (c) {
    case u'L':
    case u'l':
      align |= AlignLeft;
      break;
    case u'R':
    case u'r':
      align |= AlignRight;
      break;
    case u'T':
    case u't':
      align |= AlignTop;
      break;
    case u'B':
    case u'b':
      align |= AlignBottom;
      break;
    default:
      return std::nullopt;
    }
  }
  return align;
}

std::u16string AlignText(unsigned align)
{
  std::u16string text;
  if (align & AlignTop) text += u'T';
  if (align & AlignBottom) text += u'B';
  if (align & AlignLeft) text += u'L';
  if (align & AlignRight) text += u'R';
  return text;
}

}  // namespace flash_control
