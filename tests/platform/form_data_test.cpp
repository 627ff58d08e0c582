#include <gtest/gtest.h>

#include "form_fixtures.h"
#include "platform/FileStreams.h"
#include "platform/FormResource.h"
#include "platform/FormText.h"

#include <cstring>
#include <functional>
#include <random>
#include <set>

namespace {

AnsiString Compile(const AnsiString& text)
{
  TMemoryStream input, output;
  input.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  input.SetPosition(0);
  ObjectTextToBinary(input, output);
  return BytesOf(output);
}

void ReadInto(TComponent* root, const AnsiString& data)
{
  TMemoryStream stream;
  stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
  stream.SetPosition(0);
  ReadComponent(stream, root);
}

std::unique_ptr<TTestForm> Read(const AnsiString& data)
{
  auto form = std::make_unique<TTestForm>(nullptr);
  ReadInto(form.get(), data);
  return form;
}

AnsiString Write(TComponent* root)
{
  TMemoryStream stream;
  WriteComponent(stream, root);
  return BytesOf(stream);
}

AnsiString Replace(AnsiString text, const AnsiString& from, const AnsiString& to)
{
  const size_t at = text.find(from);
  if (at == AnsiString::npos) ADD_FAILURE() << "the test form has no " << from;
  else text.replace(at, from.size(), to);
  return text;
}

// Every test checks that the widgets form data created were freed again.
class FormData : public ::testing::Test {
protected:
  void SetUp() override
  {
    RegisterTestColors();
    TTestWidget::LoadLog.clear();
    FLiveWidgets = TTestWidget::LiveCount;
  }
  void TearDown() override { EXPECT_EQ(FLiveWidgets, TTestWidget::LiveCount); }

  const AnsiString Text = ResourceBytes("TESTFORMTEXT");
  const AnsiString Binary = ResourceBytes("TTESTFORM");

private:
  int FLiveWidgets = 0;
};

// A component that no form names in a field.
class TSpare : public TComponent {
  QV_CLASS(TSpare, TComponent)
public:
  explicit TSpare(TComponent* owner) : TComponent(owner) {}
};

// Names longer than any value type number.
class TWidgetWithAVeryLongClassName : public TComponent {
  QV_CLASS(TWidgetWithAVeryLongClassName, TComponent)
public:
  explicit TWidgetWithAVeryLongClassName(TComponent* owner) : TComponent(owner) {}
  int32_t PropertyWithAVeryLongName = 0;

private:
  static void Publish(TPublisher<TWidgetWithAVeryLongClassName>& p)
  {
    using T = TWidgetWithAVeryLongClassName;
    p.Property("PropertyWithAVeryLongName", &T::PropertyWithAVeryLongName,
               &T::PropertyWithAVeryLongName);
  }
};

// An item that refers to a component, and counts the references set on items already freed.
class TLinkItem : public TCollectionItem {
  QV_CLASS(TLinkItem, TCollectionItem)
public:
  explicit TLinkItem(TCollection* collection) : TCollectionItem(collection) { Live.insert(this); }
  ~TLinkItem() override { Live.erase(this); }

  static inline std::set<const TLinkItem*> Live;
  static inline int SetWhenFreed = 0;

  TComponent* GetTarget() const { return FTarget; }
  void SetTarget(TComponent* target)
  {
    if (Live.count(this))
      FTarget = target;
    else
      ++SetWhenFreed;
  }

private:
  static void Publish(TPublisher<TLinkItem>& p)
  {
    p.Property("Target", &TLinkItem::GetTarget, &TLinkItem::SetTarget);
  }

  TComponent* FTarget = nullptr;
};

class TLinkBox : public TComponent {
  QV_CLASS(TLinkBox, TComponent)
public:
  explicit TLinkBox(TComponent* owner) : TComponent(owner) {}
  TCollection* GetLinks() const { return FLinks.get(); }

private:
  static void Publish(TPublisher<TLinkBox>& p) { p.Property("Links", &TLinkBox::GetLinks); }

  std::unique_ptr<TCollection> FLinks = std::make_unique<TCollection>(TLinkItem::StaticClass());
};

TBytes Sequence(int count)
{
  TBytes bytes(count);
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

}  // namespace

TEST_F(FormData, ReadsTheWholeTreeWithEveryKindOfProperty)
{
  const auto form = Read(Binary);
  EXPECT_EQ("TestForm", form->GetName());
  EXPECT_EQ(130, form->Left);
  EXPECT_EQ("Zarinelle", form->Caption);
  EXPECT_EQ(tcBtnFace, form->Color);
  const TTestFont& font = *form->GetFont();
  EXPECT_EQ(tcWhite, font.FColor);
  EXPECT_EQ(-11, font.GetHeight());
  EXPECT_EQ("MS Sans Serif", font.GetName());
  EXPECT_EQ((TTestStyles{tsBold, tsItalic}), font.FStyle);

  // The tree: published fields, owners and parents.
  ASSERT_TRUE(form->Panel && form->Button && form->List && form->Timer);
  EXPECT_EQ(4, form->ComponentCount());
  EXPECT_EQ(form.get(), form->Button->Owner());
  EXPECT_EQ(form->Panel, form->Button->Parent());
  EXPECT_EQ((std::vector<TTestWidget*>{form->Panel, form->List}), form->Children());

  const TTestWidget& panel = *form->Panel;
  EXPECT_EQ(7, panel.GetTag());
  EXPECT_EQ(TTestColor(255), panel.Color);
  EXPECT_TRUE(panel.Hint == L"caf\u00E9 \u0436");
  EXPECT_EQ(tkSquare, panel.Kind);
  EXPECT_EQ(1.5, panel.Ratio);
  EXPECT_EQ(0.25f, panel.Scale);
  EXPECT_EQ(5000000000, panel.Big);
  EXPECT_FALSE(panel.Visible);

  const TTestWidget& button = *form->Button;
  EXPECT_EQ("It's\r\ntwo lines", button.Caption);
  EXPECT_EQ(form->Timer, button.GetBuddy());
  EXPECT_EQ(Sequence(40), button.ControlData);

  const TCollection& items = *form->List->GetItems();
  ASSERT_EQ(2, items.Count());
  EXPECT_EQ("first", static_cast<TTestItem*>(items.GetItem(0))->Caption);
  EXPECT_EQ(80, static_cast<TTestItem*>(items.GetItem(0))->Width);
  EXPECT_EQ(50, static_cast<TTestItem*>(items.GetItem(1))->Width);
  EXPECT_EQ("alpha\r\nbeta\r\n", form->List->GetLines()->GetText());
  EXPECT_FALSE(form->Timer->Enabled);
  EXPECT_EQ(100, form->Timer->Interval);

  // Events call the root's methods by the names the data gave.
  form->OnCreate(form.get());
  button.OnClick(form->Button);
  button.OnMove(form->Button, 4, -5);
  form->Timer->OnTimer(form->Timer);
  EXPECT_EQ((std::vector<std::string>{"FormCreate", "ButtonClick Button", "ButtonMove 4 -5",
                                      "TimerTimer"}),
            form->Calls);
  for (TComponent* component : {static_cast<TComponent*>(form.get()), form->Components(3)})
    EXPECT_TRUE((component->ComponentState() * TComponentState{csLoading, csReading}).Empty());
}

TEST_F(FormData, TextAndObjectsGiveTheSameBytes)
{
  // The build's form compiler, the compiler in process, and writing what was read all agree.
  EXPECT_EQ(Binary, Compile(Text));
  const auto form = Read(Binary);
  const AnsiString written = Write(form.get());
  EXPECT_EQ(Binary, written);
  EXPECT_EQ(Binary, Write(Read(written).get()));
}

TEST_F(FormData, ReadsAFormDataResource)
{
  TTestForm form(nullptr);
  EXPECT_EQ(&form, ReadComponentRes("TTESTFORM", &form));
  EXPECT_EQ("MS Sans Serif", form.GetFont()->GetName());
  EXPECT_THROW(ReadComponentRes("TNOFORM", &form), EResNotFound);
}

TEST_F(FormData, WritesTheClassicLayout)
{
  TTestWidget widget(nullptr);
  widget.SetName("W");
  widget.Left = -2;
  widget.Top = 300;
  widget.Caption = AnsiString(256, 'x');
  widget.Hint = L"plain";
  widget.Kind = tkTriangle;
  widget.Ratio = 1.0;
  widget.Visible = false;
  widget.GetFont()->FStyle = {tsItalic};
  widget.ControlData = {0xAA, 0xBB, 0xCC};

  const AnsiString expected =
    AnsiString("TPF0\x0BTTestWidget\x01W", 18) +
    AnsiString("\x04Left\x02\xFE", 7) +
    AnsiString("\x03Top\x03\x2C\x01", 7) +
    AnsiString("\x07" "Caption\x0C\x00\x01\x00\x00", 13) + AnsiString(256, 'x') +
    AnsiString("\x0B" "Font.Height\x02\x00", 14) +
    AnsiString("\x0A" "Font.Style\x0B\x08tsItalic\x00", 22) +
    AnsiString("\x04Hint\x06\x05plain", 12) +
    AnsiString("\x04Kind\x07\x0AtkTriangle", 17) +
    AnsiString("\x05Ratio\x05\x00\x00\x00\x00\x00\x00\x00\x80\xFF\x3F", 17) +
    AnsiString("\x07Visible\x08", 9) +
    AnsiString("\x0B" "ControlData\x0A\x03\x00\x00\x00\xAA\xBB\xCC", 20) +
    AnsiString("\x00\x00", 2);
  EXPECT_EQ(expected, Write(&widget));
}

TEST_F(FormData, NamesOfAnyLengthReadBack)
{
  TTestForm form(nullptr);
  auto* child = new TWidgetWithAVeryLongClassName(&form);
  child->SetName("ChildWithAVeryLongNameIndeed");
  child->PropertyWithAVeryLongName = 9;
  const AnsiString data = Write(&form);

  RegisterClass(TWidgetWithAVeryLongClassName::StaticClass());
  const auto copy = Read(data);
  UnRegisterClass(TWidgetWithAVeryLongClassName::StaticClass());
  auto* read = dynamic_cast<TWidgetWithAVeryLongClassName*>(copy->FindComponent(child->GetName()));
  ASSERT_NE(nullptr, read);
  EXPECT_EQ(9, read->PropertyWithAVeryLongName);
}

TEST_F(FormData, ReadsEveryKindOfString)
{
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteSignature();
  writer.WriteStr("TTestWidget");
  writer.WriteStr("W");
  const AnsiString cafe = "caf\xC3\xA9 \xF0\x9F\x98\x80";  // UTF-8, with a character beyond 16 bits
  writer.WriteStr("Hint");
  writer.WriteValue(vaUTF8String);
  stream.WriteBuffer("\x0A\x00\x00\x00", 4);
  stream.WriteBuffer(cafe.data(), 10);
  writer.WriteStr("Caption");
  writer.WriteWideString(u"caf\u00E9");
  writer.WriteListEnd();
  writer.WriteListEnd();
  stream.SetPosition(0);

  TTestWidget widget(nullptr);
  ReadComponent(stream, &widget);
  EXPECT_TRUE(widget.Hint == L"caf\u00E9 \U0001F600");
  // Wide text reaches an 8-bit property through the system code page.
  EXPECT_EQ(Utf16ToAnsi(u"caf\u00E9"), widget.Caption);
  EXPECT_EQ(4u, widget.Caption.size());
}

TEST_F(FormData, LoadedRunsOnceEveryReferenceIsResolved)
{
  Read(Binary);
  // In the order of creation; the button's buddy is read after the button itself.
  EXPECT_EQ((std::vector<std::string>{"TestForm loading -", "Panel loading -",
                                      "Button loading Timer", "List loading -"}),
            TTestWidget::LoadLog);
}

TEST_F(FormData, CreatesTheRootAndUnlistedChildrenFromTheClassRegistry)
{
  const char* const timer = "  object Timer: TTestTimer";
  const AnsiString withSpare =
    Compile(Replace(Text, timer, AnsiString("  object Spare: TSpare\n  end\n") + timer));
  EXPECT_THROW(Read(withSpare), EClassNotFound);

  // A component class that no published field names is found once it is registered.
  RegisterClass(TSpare::StaticClass());
  RegisterClass(TTestForm::StaticClass());
  TMemoryStream stream;
  stream.WriteBuffer(withSpare.data(), static_cast<int32_t>(withSpare.size()));
  stream.SetPosition(0);
  std::unique_ptr<TComponent> root(ReadComponent(stream, nullptr));
  UnRegisterClass(TSpare::StaticClass());
  UnRegisterClass(TTestForm::StaticClass());

  auto* form = dynamic_cast<TTestForm*>(root.get());
  ASSERT_NE(nullptr, form);
  EXPECT_EQ(nullptr, form->Owner());
  EXPECT_NE(nullptr, dynamic_cast<TSpare*>(form->FindComponent("Spare")));
  EXPECT_EQ("Zarinelle", form->Caption);
}

TEST_F(FormData, DamagedFormDataRaisesNamedErrors)
{
  using TDamage = std::function<AnsiString(const AnsiString& text, const AnsiString& binary)>;
  const auto edit = [](const char* from, const char* to) -> TDamage {
    return [=](const AnsiString& text, const AnsiString&) {
      return Compile(Replace(text, from, to));
    };
  };
  const auto patch = [](const char* after, size_t offset, AnsiString bytes) -> TDamage {
    return [=](const AnsiString&, AnsiString binary) {
      const size_t at = binary.find(after);
      EXPECT_NE(AnsiString::npos, at) << after;
      return binary.replace(at + std::string_view(after).size() + offset, bytes.size(), bytes);
    };
  };
  const struct {
    TDamage damage;
    const char* message;
  } cases[] = {
    {patch("", 0, "TPF1"), "Error reading form data: Invalid stream format"},
    {edit("Button: TTestWidget", "Button: TNoSuchWidget"),
     "Error reading Button: Class TNoSuchWidget not found"},
    {edit("TestForm: TTestForm", "TestForm: TTestTimer"),
     "Error reading TestForm: The form data holds a TTestTimer, not a TTestForm"},
    {edit("Caption = 'Zarinelle'", "Items = 'x'"),
     "Error reading TestForm.Items: Property is read-only"},
    {edit("Kind = tkSquare", "Colour = tkSquare"),
     "Error reading Panel.Colour: Property Colour does not exist"},
    {edit("Font.Name", "Fnot.Name"),
     "Error reading TestForm.Fnot.Name: Property Fnot.Name does not exist"},
    {edit("Width = 80", "Wdth = 80"),
     "Error reading List.Items[0].Wdth: Property Wdth does not exist"},
    {edit("Left = 10", "Left = 'ten'"), "Error reading Button.Left: Invalid property value"},
    {edit("Left = 130", "Left = clBtnFace"), "Error reading TestForm.Left: Invalid property value"},
    {edit("Tag = 7", "Tag = 5000000000"), "Error reading Panel.Tag: Invalid property value"},
    {edit("Kind = tkSquare", "Kind = tkHexagon"),
     "Error reading Panel.Kind: Invalid property value"},
    {edit("tsItalic]", "tsShadow]"), "Error reading TestForm.Font.Style: Invalid property value"},
    {edit("'alpha'", "alpha"), "Error reading List.Lines.Strings: Invalid property value"},
    {edit("Buddy = Timer", "Buddy = Nobody"),
     "Error reading Button.Buddy: Component Nobody not found"},
    {edit("OnClick = ButtonClick", "OnClick = Nothing"),
     "Error reading Button.OnClick: Method Nothing not found in TTestForm"},
    {edit("OnClick = ButtonClick", "OnClick = ButtonMove"),
     "Error reading Button.OnClick: Method ButtonMove does not match the event's parameters"},
    {edit("object List:", "object Button:"),
     "Error reading Button: A component named Button already exists"},
    {patch("TTestWidget\x04", 0, "9"), "Error reading 9ist: '9ist' is not a valid component name"},
    {patch("\x04Left", 0, "\x7F"), "Error reading TestForm.Left: Invalid stream format"},
    {patch("ControlData\x0A", 0, "\xFF\xFF\xFF\x7F"),
     "Error reading Button.ControlData: Stream read error"},
    {patch("ControlData\x0A", 0, "\xFF\xFF\xFF\xFF"),
     "Error reading Button.ControlData: Stream read error"},
    {patch("\x06\x05" "alpha\x06", 0, "\xFF"),
     "Error reading List.Lines.Strings: Stream read error"},
  };
  for (const auto& c : cases) {
    TTestForm form(nullptr);
    try {
      ReadInto(&form, c.damage(Text, Binary));
      ADD_FAILURE() << "no error for: " << c.message;
    } catch (const EComponentError& e) {
      EXPECT_EQ(c.message, e.Message);
    } catch (const EFilerError& e) {
      EXPECT_EQ(c.message, e.Message);
    }
    EXPECT_FALSE(form.ComponentState().Contains(csLoading)) << c.message;
    for (int i = 0; i < form.ComponentCount(); ++i)
      EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading)) << c.message;
  }
}

TEST_F(FormData, EveryTruncationIsAReadError)
{
  for (size_t length = 0; length < Binary.size(); ++length) {
    TTestForm form(nullptr);
    try {
      ReadInto(&form, Binary.substr(0, length));
      ADD_FAILURE() << "read " << length << " bytes without an error";
    } catch (const EReadError& e) {
      EXPECT_EQ(0u, e.Message.find("Error reading ")) << e.Message;
    }
  }
}

TEST_F(FormData, RandomDamageNeverCrashes)
{
  std::mt19937 generator(7);
  std::uniform_int_distribution<size_t> position(4, Binary.size() - 1);
  std::uniform_int_distribution<int> value(0, 255);
  for (int round = 0; round < 3000; ++round) {
    AnsiString damaged = Binary;
    for (int flips = round % 3; flips >= 0; --flips)
      damaged[position(generator)] = static_cast<char>(value(generator));
    TTestForm form(nullptr);
    try {
      ReadInto(&form, damaged);
    } catch (const Exception&) {
    }
  }
}

TEST_F(FormData, RefusesDataNestedTooDeeply)
{
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteSignature();
  constexpr int Depth = 200;
  for (int i = 0; i < Depth; ++i) {
    writer.WriteStr(i == 0 ? "TTestForm" : "TTestWidget");
    writer.WriteStr(i == 0 ? AnsiString("Form") : Format("W%d", i));
    writer.WriteListEnd();
  }
  for (int i = 0; i < Depth; ++i) writer.WriteListEnd();

  TTestForm form(nullptr);
  try {
    ReadInto(&form, BytesOf(stream));
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_NE(AnsiString::npos, e.Message.find("Form data is nested too deeply")) << e.Message;
  }
}

TEST_F(FormData, ACollectionReadAgainDropsTheReferencesOfTheItemsItFrees)
{
  TLinkBox box(nullptr);
  ReadInto(&box, Compile("object Box: TLinkBox\n"
                         "  Links = <\n    item\n      Target = Box\n    end>\n"
                         "  Links = <\n    item\n    end\n    item\n      Target = Box\n    end>\n"
                         "end\n"));
  EXPECT_EQ(0, TLinkItem::SetWhenFreed);
  ASSERT_EQ(2, box.GetLinks()->Count());
  EXPECT_EQ(nullptr, static_cast<TLinkItem*>(box.GetLinks()->GetItem(0))->GetTarget());
  EXPECT_EQ(&box, static_cast<TLinkItem*>(box.GetLinks()->GetItem(1))->GetTarget());
}

TEST_F(FormData, PropertyPathsDoNotReachThroughReferences)
{
  // A reference names another component; its properties are that component's to store.
  TTestTimer outside(nullptr);
  TTestWidget widget(nullptr);
  widget.SetBuddy(&outside);
  try {
    ReadInto(&widget, Compile("object W: TTestWidget\n  Buddy.Interval = 5\nend\n"));
    ADD_FAILURE() << "read a property of a referenced component";
  } catch (const EReadError& e) {
    EXPECT_EQ("Error reading W.Buddy.Interval: Property Buddy.Interval does not exist", e.Message);
  }
  EXPECT_EQ(1000, outside.Interval);
}

TEST_F(FormData, WritesOnlyWhatCanBeReadBack)
{
  TTestForm form(nullptr);
  form.SetName("Form");
  TTestWidget* button = new TTestWidget(&form);
  button->SetName("Button");
  button->SetParent(&form);

  // A handler that is not a published method of the form would be lost.
  TTestForm other(nullptr);
  button->OnClick = Bind<&TTestForm::ButtonClick>(&other);
  EXPECT_THROW(Write(&form), EWriteError);
  button->OnClick = Bind<&TTestForm::ButtonClick>(&form);
  EXPECT_NE(AnsiString::npos, Write(&form).find("\x0B" "ButtonClick"));

  // So would a reference to a component of another form.
  button->SetBuddy(&other);
  try {
    Write(&form);
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_EQ("Error writing Button.Buddy: it refers to a component outside the form", e.Message);
  }
  EXPECT_FALSE(form.ComponentState().Contains(csWriting));
}

TEST(ExtendedFloat, ConvertsExactlyBothWays)
{
  const struct {
    double value;
    uint8_t bytes[10];
  } cases[] = {
    {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00}},
    {1.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
    {-2.0, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
    {1.5, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}},
    {4.9406564584124654e-324, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}},
    {HUGE_VAL, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    uint8_t bytes[10];
    DoubleToExtended(c.value, bytes);
    EXPECT_EQ(0, std::memcmp(c.bytes, bytes, 10)) << c.value;
    EXPECT_EQ(c.value, ExtendedToDouble(c.bytes));
  }
  // An extended with more precision than a double rounds to the nearest double.
  const uint8_t almostTwo[10] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F};
  EXPECT_EQ(2.0, ExtendedToDouble(almostTwo));
}
