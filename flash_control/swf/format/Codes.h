// The numbers of the file format that the movie engine reads and the movie writer writes: tag and
// action codes, push value types, style and placement flags, button states and conditions. Both
// sides take them from here, so a movie the writer makes means to the engine what the writer meant.
#pragma once

#include <cstdint>

namespace swf {

// Tag header: the code in the high 10 bits, the body length in the low 6; the length 0x3F says a
// 32-bit length follows.
constexpr unsigned kTagCodeShift = 6;
constexpr uint16_t kMaxTagCode = 0x3FF;
constexpr uint16_t kTagLongLength = 0x3F;

enum TagCode : uint16_t {
  kTagEnd = 0,
  kTagShowFrame = 1,
  kTagDefineShape = 2,
  kTagPlaceObject = 4,
  kTagRemoveObject = 5,
  kTagDefineButton = 7,
  kTagSetBackgroundColor = 9,
  kTagDoAction = 12,
  kTagDefineShape2 = 22,
  kTagPlaceObject2 = 26,
  kTagRemoveObject2 = 28,
  kTagDefineShape3 = 32,
  kTagDefineButton2 = 34,
  kTagDefineSprite = 39,
  kTagFrameLabel = 43,
  kTagDefineVideoStream = 60,
};

// Which PlaceObject2 fields follow the depth.
enum PlaceFlag : uint8_t {
  kPlaceMove = 0x01,  // modify what is at the depth instead of placing anew
  kPlaceHasCharacter = 0x02,
  kPlaceHasMatrix = 0x04,
  kPlaceHasColorTransform = 0x08,
  kPlaceHasRatio = 0x10,
  kPlaceHasName = 0x20,
  kPlaceHasClipDepth = 0x40,
};

enum FillType : uint8_t {
  kFillSolid = 0x00,
  kFillLinearGradient = 0x10,
  kFillRadialGradient = 0x12,
  kFillFocalGradient = 0x13,
  kFillRepeatingBitmap = 0x40,
  kFillClippedBitmap = 0x41,
  kFillRepeatingBitmapUnsmoothed = 0x42,
  kFillClippedBitmapUnsmoothed = 0x43,
};

// The five flag bits of a style-change shape record, which say what the record carries.
enum StyleChangeFlag : uint8_t {
  kStyleChangeMoveTo = 0x01,
  kStyleChangeFill0 = 0x02,
  kStyleChangeFill1 = 0x04,
  kStyleChangeLine = 0x08,
  kStyleChangeNewStyles = 0x10,
};

// In the flags byte of DefineButton2: the button tracks the mouse as a menu item does.
constexpr uint8_t kButtonTrackAsMenu = 0x01;

// The states a button record shows in; combined with `|`.
enum ButtonState : uint8_t {
  kButtonUp = 0x01,
  kButtonOver = 0x02,
  kButtonDown = 0x04,
  kButtonHit = 0x08,
};
constexpr uint8_t kButtonStates = kButtonUp | kButtonOver | kButtonDown | kButtonHit;

// Mouse transitions that run a button's actions, as the 16-bit condition field numbers them;
// combined with `|`.
enum ButtonCondition : uint16_t {
  kIdleToOverUp = 0x0001,      // roll over
  kOverUpToIdle = 0x0002,      // roll out
  kOverUpToOverDown = 0x0004,  // press
  kOverDownToOverUp = 0x0008,  // release inside: a click
  kOverDownToOutDown = 0x0010,
  kOutDownToOverDown = 0x0020,
  kOutDownToIdle = 0x0040,  // release outside
  kIdleToOverDown = 0x0080,
  kOverDownToIdle = 0x0100,
};

enum ActionCode : uint8_t {
  kActionEnd = 0x00,
  kActionNextFrame = 0x04,
  kActionPreviousFrame = 0x05,
  kActionPlay = 0x06,
  kActionStop = 0x07,
  kActionAdd = 0x0A,
  kActionSubtract = 0x0B,
  kActionMultiply = 0x0C,
  kActionDivide = 0x0D,
  kActionEquals = 0x0E,
  kActionLess = 0x0F,
  kActionAnd = 0x10,
  kActionOr = 0x11,
  kActionNot = 0x12,
  kActionStringEquals = 0x13,
  kActionStringLength = 0x14,
  kActionStringExtract = 0x15,
  kActionPop = 0x17,
  kActionToInteger = 0x18,
  kActionGetVariable = 0x1C,
  kActionSetVariable = 0x1D,
  kActionSetTarget2 = 0x20,
  kActionStringAdd = 0x21,
  kActionGetProperty = 0x22,
  kActionSetProperty = 0x23,
  kActionTrace = 0x26,
  kActionStringLess = 0x29,
  kActionRandomNumber = 0x30,
  kActionDelete = 0x3A,
  kActionDelete2 = 0x3B,
  kActionDefineLocal = 0x3C,
  kActionCallFunction = 0x3D,
  kActionReturn = 0x3E,
  kActionModulo = 0x3F,
  kActionNewObject = 0x40,
  kActionDefineLocal2 = 0x41,
  kActionInitArray = 0x42,
  kActionInitObject = 0x43,
  kActionTypeOf = 0x44,
  kActionAdd2 = 0x47,
  kActionLess2 = 0x48,
  kActionEquals2 = 0x49,
  kActionToNumber = 0x4A,
  kActionToString = 0x4B,
  kActionPushDuplicate = 0x4C,
  kActionStackSwap = 0x4D,
  kActionGetMember = 0x4E,
  kActionSetMember = 0x4F,
  kActionIncrement = 0x50,
  kActionDecrement = 0x51,
  kActionCallMethod = 0x52,
  kActionBitAnd = 0x60,
  kActionBitOr = 0x61,
  kActionBitXor = 0x62,
  kActionBitLShift = 0x63,
  kActionBitRShift = 0x64,
  kActionBitURShift = 0x65,
  kActionStrictEquals = 0x66,
  kActionGreater = 0x67,
  kActionStringGreater = 0x68,
  kActionGotoFrame = 0x81,
  kActionGetUrl = 0x83,
  kActionStoreRegister = 0x87,
  kActionConstantPool = 0x88,
  kActionWaitForFrame = 0x8A,
  kActionSetTarget = 0x8B,
  kActionGotoLabel = 0x8C,
  kActionWaitForFrame2 = 0x8D,
  kActionDefineFunction2 = 0x8E,
  kActionPush = 0x96,
  kActionJump = 0x99,
  kActionGetUrl2 = 0x9A,
  kActionDefineFunction = 0x9B,
  kActionIf = 0x9D,
  kActionCall = 0x9E,
  kActionGotoFrame2 = 0x9F,
};

// Codes from 0x80 on carry a payload after a 16-bit length; lower codes are one byte.
constexpr bool ActionHasPayload(uint8_t code)
{
  return code >= 0x80;
}

// The type byte before each value of a push action.
enum PushType : uint8_t {
  kPushString = 0,
  kPushFloat = 1,
  kPushNull = 2,
  kPushUndefined = 3,
  kPushRegister = 4,
  kPushBoolean = 5,
  kPushDouble = 6,
  kPushInteger = 7,
  kPushConstant8 = 8,
  kPushConstant16 = 9,
};

}  // namespace swf
