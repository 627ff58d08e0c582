#include <gtest/gtest.h>

#include <functional>

#include "tools/swf/Actions.h"

using namespace swfwriter;

TEST(SwfActions, EncodeBitExact)
{
  struct Case {
    const char* name;
    std::function<void(Actions&)> build;
    Bytes expected;  // without the closing end action
  };
  const Case cases[] = {
    {"literal string", [](Actions& a) { a.Push("ab"); }, {0x96, 0x04, 0x00, 0x00, 'a', 'b', 0x00}},
    {"pooled string by index",
     [](Actions& a) {
       a.ConstantPool({"x", "ab"}).Push("ab");
     },
     {0x88, 0x07, 0x00, 0x02, 0x00, 'x', 0x00, 'a', 'b', 0x00, 0x96, 0x02, 0x00, 0x08, 0x01}},
    {"integer, double, float",
     [](Actions& a) {
       a.Push({-2, 1.0, Float{1.0f}});
     },
     {0x96, 0x13, 0x00, 0x07, 0xFE, 0xFF, 0xFF, 0xFF, 0x06, 0x00, 0x00,
      0xF0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x80, 0x3F}},
    {"null, undefined, boolean, register, wide constant",
     [](Actions& a) {
       a.Push({Null{}, Undefined{}, true, Register{3}, Constant{300}});
     },
     {0x96, 0x09, 0x00, 0x02, 0x03, 0x05, 0x01, 0x04, 0x03, 0x09, 0x2C, 0x01}},
    {"timeline control",
     [](Actions& a) { a.Stop().Play().NextFrame().PreviousFrame(); },
     {0x07, 0x06, 0x04, 0x05}},
    {"goto frame and label",
     [](Actions& a) { a.GotoFrame(258).GotoLabel("dawn"); },
     {0x81, 0x02, 0x00, 0x02, 0x01, 0x8C, 0x05, 0x00, 'd', 'a', 'w', 'n', 0x00}},
    {"get URL, URL and target",
     [](Actions& a) { a.GetURL("FSCommand:Min", ""); },
     {0x83, 0x0F, 0x00, 'F', 'S', 'C', 'o', 'm', 'm', 'a', 'n', 'd', ':', 'M', 'i', 'n', 0x00,
      0x00}},
    {"get URL 2 flags",
     [](Actions& a) { a.GetURL2(SendVars::Post, true, false); },
     {0x9A, 0x01, 0x00, 0x82}},
    {"objects and calls",
     [](Actions& a) {
       a.GetVariable().SetVariable().DefineLocal().GetMember().SetMember().NewObject();
       a.CallFunction().CallMethod().Pop().StoreRegister(1);
     },
     {0x1C, 0x1D, 0x3C, 0x4E, 0x4F, 0x40, 0x3D, 0x52, 0x17, 0x87, 0x01, 0x00, 0x01}},
    {"arithmetic and comparison",
     [](Actions& a) {
       a.Add().Add2().Subtract().Multiply().Divide().Equals().Equals2().Less().Less2();
       a.Greater().Not();
     },
     {0x0A, 0x47, 0x0B, 0x0C, 0x0D, 0x0E, 0x49, 0x0F, 0x48, 0x67, 0x12}},
    {"raw actions",
     [](Actions& a) { a.Raw(0x26).Raw(0x9F, {0x01}); },
     {0x26, 0x9F, 0x01, 0x00, 0x01}},
  };
  for (const Case& c : cases) {
    Actions actions;
    c.build(actions);
    Bytes expected = c.expected;
    expected.push_back(0x00);
    EXPECT_EQ(expected, actions.Encode()) << c.name;
  }
}

TEST(SwfActions, BranchesCountFromTheEndOfTheBranch)
{
  Actions forward;
  const auto skip = forward.NewLabel();
  forward.Push(true).If(skip).Stop().Bind(skip).Play();
  EXPECT_EQ((Bytes{0x96, 0x02, 0x00, 0x05, 0x01, 0x9D, 0x02, 0x00, 0x01, 0x00, 0x07, 0x06, 0x00}),
            forward.Encode());

  Actions backward;
  const auto top = backward.NewLabel();
  backward.Bind(top).Play().Jump(top);
  EXPECT_EQ((Bytes{0x06, 0x99, 0x02, 0x00, 0xFA, 0xFF, 0x00}), backward.Encode());

  // A label placed last lands on the end action.
  Actions toEnd;
  const auto end = toEnd.NewLabel();
  toEnd.Jump(end).Bind(end);
  EXPECT_EQ((Bytes{0x99, 0x02, 0x00, 0x00, 0x00, 0x00}), toEnd.Encode());
}

TEST(SwfActions, MisuseIsRefused)
{
  Actions unplaced;
  unplaced.Jump(unplaced.NewLabel());
  EXPECT_THROW(unplaced.Encode(), std::logic_error);

  Actions twice;
  const auto label = twice.NewLabel();
  twice.Bind(label);
  EXPECT_THROW(twice.Bind(label), std::logic_error);

  Actions far;
  const auto end = far.NewLabel();
  far.Jump(end);
  for (int i = 0; i < 40000; ++i)
    far.Stop();
  far.Bind(end);
  EXPECT_THROW(far.Encode(), std::out_of_range);

  EXPECT_THROW(Actions().Raw(0x07, {1}), std::invalid_argument);
  EXPECT_THROW(Actions().Push(std::string("a\0b", 3)), std::invalid_argument);
}
