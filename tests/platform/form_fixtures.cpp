#include "form_fixtures.h"

#include "platform/FileStreams.h"

AnsiString BytesOf(TCustomMemoryStream& stream)
{
  const auto* bytes = static_cast<const char*>(stream.Memory());
  return AnsiString(bytes, static_cast<size_t>(stream.GetSize()));
}

AnsiString ResourceBytes(const char* name)
{
  TResourceStream stream(GetModuleHandleA(nullptr), name, RT_RCDATA);
  return BytesOf(stream);
}

void RegisterTestColors()
{
  static const TIdentMapEntry Colors[] = {
    {tcBlack, "clBlack"}, {tcWhite, "clWhite"}, {tcBtnFace, "clBtnFace"}};
  RegisterIntegerConsts(TypeInfoOf<TTestColor>(), Colors);
}

// TTestFont ---------------------------------------------------------------------------------------

void TTestFont::Publish(TPublisher<TTestFont>& p)
{
  p.Property("Color", &TTestFont::FColor, &TTestFont::FColor).Default(tcBlack);
  p.Property("Height", &TTestFont::GetHeight, &TTestFont::SetHeight);
  p.Property("Name", &TTestFont::GetName, &TTestFont::SetName);
  p.Property("Style", &TTestFont::FStyle, &TTestFont::FStyle).Default(TTestStyles());
}

void TTestFont::Assign(TPersistent* source)
{
  if (auto* font = dynamic_cast<TTestFont*>(source)) {
    FColor = font->FColor;
    FStyle = font->FStyle;
    FHeight = font->FHeight;
    FName = font->FName;
    return;
  }
  inherited::Assign(source);
}

// TTestItem ---------------------------------------------------------------------------------------

void TTestItem::Publish(TPublisher<TTestItem>& p)
{
  p.Property("Caption", &TTestItem::Caption, &TTestItem::Caption);
  p.Property("Width", &TTestItem::Width, &TTestItem::Width).Default(50);
}

void TTestItem::Assign(TPersistent* source)
{
  if (auto* item = dynamic_cast<TTestItem*>(source)) {
    Caption = item->Caption;
    Width = item->Width;
    return;
  }
  inherited::Assign(source);
}

// TTestWidget -------------------------------------------------------------------------------------

int TTestWidget::LiveCount = 0;
std::vector<std::string> TTestWidget::LoadLog;

TTestWidget::TTestWidget(TComponent* owner) : TComponent(owner)
{
  ++LiveCount;
}

TTestWidget::~TTestWidget()
{
  for (TTestWidget* child : FChildren) child->FParent = nullptr;
  SetParent(nullptr);
  --LiveCount;
}

void TTestWidget::Publish(TPublisher<TTestWidget>& p)
{
  p.Property("Left", &TTestWidget::Left, &TTestWidget::Left);
  p.Property("Top", &TTestWidget::Top, &TTestWidget::Top);
  p.Property("Caption", &TTestWidget::Caption, &TTestWidget::Caption);
  p.Property("Color", &TTestWidget::Color, &TTestWidget::Color).Default(tcWhite);
  p.Property("Font", &TTestWidget::GetFont, &TTestWidget::SetFont);
  p.Property("Hint", &TTestWidget::Hint, &TTestWidget::Hint);
  p.Property("Kind", &TTestWidget::Kind, &TTestWidget::Kind).Default(tkCircle);
  p.Property("Ratio", &TTestWidget::Ratio, &TTestWidget::Ratio);
  p.Property("Scale", &TTestWidget::Scale, &TTestWidget::Scale);
  p.Property("Big", &TTestWidget::Big, &TTestWidget::Big);
  p.Property("Visible", &TTestWidget::Visible, &TTestWidget::Visible).Default(true);
  p.Property("Items", &TTestWidget::GetItems);
  p.Property("Lines", &TTestWidget::GetLines);
  p.Property("Buddy", &TTestWidget::GetBuddy, &TTestWidget::SetBuddy);
  p.Property("OnClick", &TTestWidget::OnClick, &TTestWidget::OnClick);
  p.Property("OnMove", &TTestWidget::OnMove, &TTestWidget::OnMove);
}

void TTestWidget::DefineProperties(TFiler& filer)
{
  inherited::DefineProperties(filer);
  filer.DefineBinaryProperty(
    "ControlData",
    [this](TStream& stream) {
      ControlData.resize(static_cast<size_t>(stream.GetSize()));
      stream.ReadBuffer(ControlData.data(), static_cast<int32_t>(ControlData.size()));
    },
    [this](TStream& stream) {
      stream.WriteBuffer(ControlData.data(), static_cast<int32_t>(ControlData.size()));
    },
    !ControlData.empty());
}

void TTestWidget::SetBuddy(TComponent* buddy)
{
  if (FBuddy) RemoveFreeNotification(FBuddy);
  FBuddy = buddy;
  if (FBuddy) FreeNotification(FBuddy);
}

void TTestWidget::SetParent(TTestWidget* parent)
{
  if (FParent) std::erase(FParent->FChildren, this);
  FParent = parent;
  if (FParent) FParent->FChildren.push_back(this);
}

void TTestWidget::SetParentComponent(TComponent* parent)
{
  SetParent(dynamic_cast<TTestWidget*>(parent));
}

void TTestWidget::GetChildren(const TGetChildProc& proc, TComponent* root)
{
  for (TTestWidget* child : FChildren)
    if (child->Owner() == root) proc(child);
  inherited::GetChildren(proc, root);
}

void TTestWidget::Loaded()
{
  LoadLog.push_back(GetName() + (ComponentState().Contains(csLoading) ? " loading " : " ready ") +
                    (FBuddy ? FBuddy->GetName() : "-"));
  inherited::Loaded();
}

void TTestWidget::Notification(TComponent* component, TOperation operation)
{
  inherited::Notification(component, operation);
  if (operation == opRemove && component == FBuddy) FBuddy = nullptr;
}

// TTestTimer --------------------------------------------------------------------------------------

void TTestTimer::Publish(TPublisher<TTestTimer>& p)
{
  p.Property("Enabled", &TTestTimer::Enabled, &TTestTimer::Enabled).Default(true);
  p.Property("Interval", &TTestTimer::Interval, &TTestTimer::Interval).Default(1000);
  p.Property("OnTimer", &TTestTimer::OnTimer, &TTestTimer::OnTimer);
}

// TTestForm ---------------------------------------------------------------------------------------

void TTestForm::Publish(TPublisher<TTestForm>& p)
{
  p.Field("Panel", &TTestForm::Panel);
  p.Field("Button", &TTestForm::Button);
  p.Field("List", &TTestForm::List);
  p.Field("Timer", &TTestForm::Timer);
  p.Property("OnCreate", &TTestForm::OnCreate, &TTestForm::OnCreate);
  p.Method<&TTestForm::FormCreate>("FormCreate");
  p.Method<&TTestForm::ButtonClick>("ButtonClick");
  p.Method<&TTestForm::ButtonMove>("ButtonMove");
  p.Method<&TTestForm::TimerTimer>("TimerTimer");
}

void TTestForm::FormCreate(TObject*)
{
  Calls.push_back("FormCreate");
}

void TTestForm::ButtonClick(TObject* sender)
{
  Calls.push_back("ButtonClick " + static_cast<TComponent*>(sender)->GetName());
}

void TTestForm::ButtonMove(TObject*, int x, int y)
{
  Calls.push_back("ButtonMove " + std::to_string(x) + " " + std::to_string(y));
}

void TTestForm::TimerTimer(TObject*)
{
  Calls.push_back("TimerTimer");
}
