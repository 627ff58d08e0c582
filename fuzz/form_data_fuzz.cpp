// Form data and the text form under arbitrary input. Besides never crashing, three round trips must
// hold for whatever is accepted:
// - form data read into the form below and written again reads back and writes the same bytes;
// - binary turned into text compiles, and the result turns into the same text;
// - text compiled into binary turns back into text that compiles into the same binary.
#include "platform/Collections.h"
#include "platform/FormData.h"
#include "platform/FormText.h"
#include "platform/Lists.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

enum TFuzzKind { fkOne, fkTwo, fkThree };
QV_ENUM_TYPE(TFuzzKind, fkOne, fkTwo, fkThree)
using TFuzzKinds = TSet<TFuzzKind>;

enum TFuzzColor : int32_t {};
QV_INTEGER_TYPE(TFuzzColor)

class TFuzzFont : public TPersistent {
  QV_CLASS(TFuzzFont, TPersistent)
public:
  AnsiString Name;
  TFuzzColor Color{};
  TFuzzKinds Style;

private:
  static void Publish(TPublisher<TFuzzFont>& p)
  {
    p.Property("Name", &TFuzzFont::Name, &TFuzzFont::Name);
    p.Property("Color", &TFuzzFont::Color, &TFuzzFont::Color).Default(TFuzzColor{});
    p.Property("Style", &TFuzzFont::Style, &TFuzzFont::Style).Default(TFuzzKinds());
  }
};

class TFuzzItem : public TCollectionItem {
  QV_CLASS(TFuzzItem, TCollectionItem)
public:
  explicit TFuzzItem(TCollection* collection) : TCollectionItem(collection) {}
  AnsiString Caption;
  int16_t Width = 0;
  TComponent* Buddy = nullptr;
  TBytes Data;

protected:
  void DefineProperties(TFiler& filer) override
  {
    filer.DefineBinaryProperty(
      "Data",
      [this](TStream& stream) {
        Data.resize(static_cast<size_t>(stream.GetSize()));
        stream.ReadBuffer(Data.data(), static_cast<int32_t>(Data.size()));
      },
      [this](TStream& stream) {
        stream.WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
      },
      !Data.empty());
  }

private:
  static void Publish(TPublisher<TFuzzItem>& p)
  {
    p.Property("Caption", &TFuzzItem::Caption, &TFuzzItem::Caption);
    p.Property("Width", &TFuzzItem::Width, &TFuzzItem::Width);
    p.Property("Buddy", &TFuzzItem::Buddy, &TFuzzItem::Buddy);
  }
};

class TFuzzWidget : public TComponent {
  QV_CLASS(TFuzzWidget, TComponent)
public:
  explicit TFuzzWidget(TComponent* owner) : TComponent(owner) {}

  int32_t Left = 0;
  uint8_t Small = 0;
  int64_t Big = 0;
  bool Visible = true;
  TFuzzKind Kind = fkOne;
  double Ratio = 0;
  float Scale = 0;
  std::u16string Hint;
  TComponent* Buddy = nullptr;
  TNotifyEvent OnClick;
  TEvent<void(TObject*, int)> OnValue;

  TFuzzFont* GetFont() const { return FFont.get(); }
  TCollection* GetItems() const { return FItems.get(); }
  TStringList* GetLines() const { return FLines.get(); }

private:
  static void Publish(TPublisher<TFuzzWidget>& p)
  {
    p.Property("Left", &TFuzzWidget::Left, &TFuzzWidget::Left);
    p.Property("Small", &TFuzzWidget::Small, &TFuzzWidget::Small).Default(0);
    p.Property("Big", &TFuzzWidget::Big, &TFuzzWidget::Big);
    p.Property("Visible", &TFuzzWidget::Visible, &TFuzzWidget::Visible).Default(true);
    p.Property("Kind", &TFuzzWidget::Kind, &TFuzzWidget::Kind).Default(fkOne);
    p.Property("Ratio", &TFuzzWidget::Ratio, &TFuzzWidget::Ratio);
    p.Property("Scale", &TFuzzWidget::Scale, &TFuzzWidget::Scale);
    p.Property("Hint", &TFuzzWidget::Hint, &TFuzzWidget::Hint);
    p.Property("Font", &TFuzzWidget::GetFont);
    p.Property("Items", &TFuzzWidget::GetItems);
    p.Property("Lines", &TFuzzWidget::GetLines);
    p.Property("Buddy", &TFuzzWidget::Buddy, &TFuzzWidget::Buddy);
    p.Property("OnClick", &TFuzzWidget::OnClick, &TFuzzWidget::OnClick);
    p.Property("OnValue", &TFuzzWidget::OnValue, &TFuzzWidget::OnValue);
  }

  std::unique_ptr<TFuzzFont> FFont = std::make_unique<TFuzzFont>();
  std::unique_ptr<TCollection> FItems = std::make_unique<TCollection>(TFuzzItem::StaticClass());
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

class TFuzzForm : public TFuzzWidget {
  QV_CLASS(TFuzzForm, TFuzzWidget)
public:
  explicit TFuzzForm(TComponent* owner) : TFuzzWidget(owner) {}

  TFuzzWidget* Panel = nullptr;
  TFuzzWidget* Button = nullptr;

  void Click(TObject*) {}
  void Value(TObject*, int) {}

private:
  static void Publish(TPublisher<TFuzzForm>& p)
  {
    p.Field("Panel", &TFuzzForm::Panel);
    p.Field("Button", &TFuzzForm::Button);
    p.Method<&TFuzzForm::Click>("Click");
    p.Method<&TFuzzForm::Value>("Value");
  }
};

using TConvert = void (*)(TStream&, TStream&);

AnsiString BytesOf(TMemoryStream& stream)
{
  const auto* bytes = static_cast<const char*>(stream.Memory());
  return AnsiString(bytes, static_cast<size_t>(stream.GetSize()));
}

AnsiString Run(TConvert convert, const AnsiString& input)
{
  TMemoryStream in, out;
  in.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
  in.SetPosition(0);
  convert(in, out);
  return BytesOf(out);
}

std::unique_ptr<TFuzzForm> Read(const AnsiString& data)
{
  auto form = std::make_unique<TFuzzForm>(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
  stream.SetPosition(0);
  ReadComponent(stream, form.get());
  return form;
}

AnsiString Write(TComponent* root)
{
  TMemoryStream stream;
  WriteComponent(stream, root);
  return BytesOf(stream);
}

[[noreturn]] void Broken(const char* what, const AnsiString& detail)
{
  std::fprintf(stderr, "%s\n%s\n", what, detail.c_str());
  std::abort();
}

// Accepted input must survive the round trip; a failure on the way back is a fault of ours.
template <class F>
AnsiString Must(const char* what, F step)
{
  try {
    return step();
  } catch (const Exception& error) {
    Broken(what, error.Message);
  }
}

void CheckFormData(const AnsiString& input)
{
  std::unique_ptr<TFuzzForm> form;
  try {
    form = Read(input);
  } catch (const Exception&) {
    return;
  }
  const AnsiString written = Must("writing what was read", [&] { return Write(form.get()); });
  const AnsiString again =
    Must("reading what was written", [&] { return Write(Read(written).get()); });
  if (again != written) Broken("writing again gave other bytes", again);
}

void CheckBinaryToText(const AnsiString& input)
{
  AnsiString text;
  try {
    text = Run(ObjectBinaryToText, input);
  } catch (const Exception&) {
    return;
  }
  const AnsiString binary =
    Must("compiling the text made", [&] { return Run(ObjectTextToBinary, text); });
  if (Run(ObjectBinaryToText, binary) != text) Broken("the text changed", text);
}

void CheckTextToBinary(const AnsiString& input)
{
  AnsiString binary;
  try {
    binary = Run(ObjectTextToBinary, input);
  } catch (const Exception&) {
    return;
  }
  const AnsiString text =
    Must("converting the compiled text", [&] { return Run(ObjectBinaryToText, binary); });
  if (Must("compiling it again", [&] { return Run(ObjectTextToBinary, text); }) != binary)
    Broken("the binary changed", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const bool ready = [] {
    static const TIdentMapEntry colors[] = {{0, "clBlack"}, {-16, "clBtnFace"}};
    RegisterIntegerConsts(TypeInfoOf<TFuzzColor>(), colors);
    RegisterClass(TFuzzForm::StaticClass());
    return true;
  }();
  (void)ready;
  const AnsiString input(reinterpret_cast<const char*>(data), size);
  CheckFormData(input);
  CheckBinaryToText(input);
  CheckTextToBinary(input);
  return 0;
}
