#include <gtest/gtest.h>

#include "form_fixtures.h"


namespace {

enum TLayer { lyBack, lyMiddle, lyFront };
QV_ENUM_TYPE(TLayer, lyBack, lyMiddle, lyFront)

// Publishes Color again with another default, as a form does for its colour.
class TFaceWidget : public TTestWidget {
  QV_CLASS(TFaceWidget, TTestWidget)
public:
  explicit TFaceWidget(TComponent* owner) : TTestWidget(owner) {}
  TLayer Layer = lyMiddle;

private:
  static void Publish(TPublisher<TFaceWidget>& p)
  {
    p.Property("Color", &TFaceWidget::Color, &TFaceWidget::Color).Default(tcBtnFace);
    p.Property("Layer", &TFaceWidget::Layer, &TFaceWidget::Layer).Default(lyMiddle);
  }
};

// A colour that is only an int32_t, as the graphics layer's TColor is: its property names the
// colour type explicitly.
const TTypeInfo& SwatchColorType()
{
  static const TTypeInfo type = TTypeInfo::Integer("TColor", INT32_MIN, INT32_MAX);
  return type;
}

class TSwatch : public TComponent {
  QV_CLASS(TSwatch, TComponent)
public:
  explicit TSwatch(TComponent* owner) : TComponent(owner) {}
  int32_t Color = 0;
  int32_t Width = 0;

private:
  static void Publish(TPublisher<TSwatch>& p)
  {
    p.Property("Color", &TSwatch::Color, &TSwatch::Color).OfType(SwatchColorType());
    p.Property("Width", &TSwatch::Width, &TSwatch::Width);
  }
};

std::vector<AnsiString> NamesOf(const TClassInfo& info)
{
  std::vector<AnsiString> names;
  for (const TPropInfo* property : info.AllProperties()) names.push_back(property->Name);
  return names;
}

}  // namespace

TEST(PropertyTables, InheritAlongTheClassChain)
{
  const TClassInfo& info = TFaceWidget::StaticClass();
  const std::vector<AnsiString> names = NamesOf(info);
  EXPECT_EQ("Name", names.front());
  EXPECT_EQ("Layer", names.back());
  // The redeclared Color keeps its place and takes the new default.
  EXPECT_EQ(NamesOf(TTestWidget::StaticClass()).size() + 1, names.size());
  EXPECT_EQ("Color", names[5]);
  EXPECT_EQ(tcBtnFace, *info.FindProperty("color")->Default);
  EXPECT_EQ(tcWhite, *TTestWidget::StaticClass().FindProperty("Color")->Default);
  EXPECT_EQ(nullptr, info.FindProperty("Colour"));

  TFaceWidget widget(nullptr);
  const TPropInfo& layer = *info.FindProperty("Layer");
  layer.Set<int64_t>(widget, lyFront);
  EXPECT_EQ(lyFront, widget.Layer);
  EXPECT_FALSE(info.FindProperty("Items")->IsWritable());
  EXPECT_FALSE(info.FindProperty("Name")->IsStored(widget));
}

TEST(PropertyTables, DescribeEnumerationsSetsAndIntegers)
{
  const TTypeInfo& layer = TypeInfoOf<TLayer>();
  EXPECT_EQ(TTypeKind::Enumeration, layer.Kind);
  EXPECT_EQ((std::vector<AnsiString>{"lyBack", "lyMiddle", "lyFront"}), layer.Names);
  EXPECT_EQ(2, layer.EnumValue("LYFRONT"));
  EXPECT_EQ(-1, layer.EnumValue("lyNone"));

  const TTypeInfo& styles = TypeInfoOf<TTestStyles>();
  EXPECT_EQ(TTypeKind::Set, styles.Kind);
  EXPECT_EQ(&TypeInfoOf<TTestStyle>(), styles.ElementType);

  EXPECT_TRUE(TypeInfoOf<bool>().IsBoolean());
  EXPECT_EQ(-128, TypeInfoOf<int8_t>().MinValue);
  EXPECT_EQ(65535, TypeInfoOf<uint16_t>().MaxValue);
  EXPECT_EQ(TTypeKind::Int64, TypeInfoOf<int64_t>().Kind);
  EXPECT_EQ("TTestColor", TypeInfoOf<TTestColor>().Name);
}

TEST(IdentifierMaps, MapIntegersOfOneTypeOnly)
{
  RegisterTestColors();
  int64_t value = 0;
  EXPECT_TRUE(IdentToInt(TypeInfoOf<TTestColor>(), "CLBTNFACE", value));
  EXPECT_EQ(tcBtnFace, value);
  EXPECT_STREQ("clWhite", IntToIdent(TypeInfoOf<TTestColor>(), 0xFFFFFF));
  EXPECT_EQ(nullptr, IntToIdent(TypeInfoOf<TTestColor>(), 255));
  EXPECT_FALSE(IdentToInt(TypeInfoOf<int32_t>(), "clBtnFace", value));
}

TEST(IdentifierMaps, ReachAnAliasOfAnIntegerThroughItsDeclaredType)
{
  static const TIdentMapEntry colors[] = {{0, "clBlack"}};
  RegisterIntegerConsts(SwatchColorType(), colors);
  TSwatch swatch(nullptr);
  TMemoryStream stream;
  WriteComponent(stream, &swatch);
  const AnsiString data = BytesOf(stream);
  EXPECT_NE(AnsiString::npos, data.find(AnsiString("\x05" "Color\x07\x07" "clBlack")));
  EXPECT_NE(AnsiString::npos, data.find(AnsiString("\x05Width\x02\x00", 8)));

  // Only a type of the same kind will do.
  TClassInfo info;
  TPublisher<TSwatch> publisher(info);
  auto width = publisher.Property("Width", &TSwatch::Width, &TSwatch::Width);
  EXPECT_THROW(width.OfType(TypeInfoOf<bool>()), EInvalidOperation);
}

TEST(Sets, CombineLikeThePlatformsSets)
{
  const TTestStyles bold{tsBold};
  const TTestStyles both = bold + TTestStyles{tsItalic};
  EXPECT_TRUE(both.Contains(tsItalic));
  EXPECT_EQ(bold, both - TTestStyles{tsItalic});
  EXPECT_EQ(bold, both * (TTestStyles{tsBold, tsUnderline}));
  EXPECT_TRUE((bold * TTestStyles{tsItalic}).Empty());
  EXPECT_EQ(3u, both.Bits());
}

TEST(Events, CallTheBoundMethodOfTheBoundObject)
{
  TTestForm form(nullptr), other(nullptr);
  TEvent<void(TObject*, int, int)> move = Bind<&TTestForm::ButtonMove>(&form);
  move(nullptr, 1, 2);
  ASSERT_EQ(1u, form.Calls.size());
  EXPECT_EQ("ButtonMove 1 2", form.Calls[0]);
  EXPECT_TRUE(other.Calls.empty());

  // Form data sees the same method for the same handler, however it was bound.
  const TMethodEntry* entry = TTestForm::StaticClass().FindMethod("ButtonMove");
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(entry->Code, move.Method().Code);
  EXPECT_EQ(&TypeInfoOf<decltype(move)>(), entry->Signature);
  EXPECT_NE(entry->Signature, TTestForm::StaticClass().FindMethod("ButtonClick")->Signature);
  EXPECT_TRUE(move == decltype(move)::FromMethod(move.Method()));
  EXPECT_FALSE(TNotifyEvent());
}
