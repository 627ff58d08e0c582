// A small component family that uses every kind of published property: a form of nested widgets,
// a non-visual timer, a nested font object, a collection, a string list, a binary property,
// component references and events.
#pragma once

#include "platform/Collections.h"
#include "platform/Components.h"
#include "platform/FormData.h"
#include "platform/Lists.h"
#include "platform/Streams.h"
#include "platform/WideString.h"

#include <memory>
#include <string>
#include <vector>

// The bytes of a memory stream, and of a data resource of the test executable.
AnsiString BytesOf(TCustomMemoryStream& stream);
AnsiString ResourceBytes(const char* name);

enum TTestKind { tkCircle, tkSquare, tkTriangle };
QV_ENUM_TYPE(TTestKind, tkCircle, tkSquare, tkTriangle)

enum TTestStyle { tsBold, tsItalic, tsUnderline, tsStrikeOut };
QV_ENUM_TYPE(TTestStyle, tsBold, tsItalic, tsUnderline, tsStrikeOut)
using TTestStyles = TSet<TTestStyle>;

// A colour: an integer type with identifiers for some of its values.
enum TTestColor : int32_t {};
QV_INTEGER_TYPE(TTestColor)
constexpr TTestColor tcBlack = TTestColor(0x000000);
constexpr TTestColor tcWhite = TTestColor(0xFFFFFF);
constexpr TTestColor tcBtnFace = TTestColor(-2147483633);  // 0x8000000F, a system colour
// Registers the identifiers "clBlack", "clWhite" and "clBtnFace".
void RegisterTestColors();

class TTestFont : public TPersistent {
  QV_CLASS(TTestFont, TPersistent)
public:
  TTestColor FColor = tcBlack;
  TTestStyles FStyle;

  int32_t GetHeight() const { return FHeight; }
  void SetHeight(int32_t height) { FHeight = height; }
  const AnsiString& GetName() const { return FName; }
  void SetName(const AnsiString& name) { FName = name; }
  void Assign(TPersistent* source) override;

private:
  static void Publish(TPublisher<TTestFont>& p);

  int32_t FHeight = 0;
  AnsiString FName;
};

class TTestItem : public TCollectionItem {
  QV_CLASS(TTestItem, TCollectionItem)
public:
  explicit TTestItem(TCollection* collection) : TCollectionItem(collection) {}

  AnsiString Caption;
  int32_t Width = 50;

  void Assign(TPersistent* source) override;
  AnsiString GetDisplayName() const override { return Caption; }

private:
  static void Publish(TPublisher<TTestItem>& p);
};

// A widget lies on a parent widget and holds child widgets, as controls do; widgets that are
// alive are counted, so that tests can see what form data created and freed.
class TTestWidget : public TComponent {
  QV_CLASS(TTestWidget, TComponent)
public:
  explicit TTestWidget(TComponent* owner);
  ~TTestWidget() override;

  static int LiveCount;
  // What Loaded saw, for every widget: "name loading buddy".
  static std::vector<std::string> LoadLog;

  int32_t Left = 0;
  int32_t Top = 0;
  AnsiString Caption;
  TTestColor Color = tcWhite;
  WideString Hint;
  TTestKind Kind = tkCircle;
  double Ratio = 0;
  float Scale = 0;
  int64_t Big = 0;
  bool Visible = true;
  TNotifyEvent OnClick;
  TEvent<void(TObject* Sender, int X, int Y)> OnMove;
  TBytes ControlData;

  TTestFont* GetFont() const { return FFont.get(); }
  void SetFont(TTestFont* font) { FFont->Assign(font); }
  TCollection* GetItems() const { return FItems.get(); }
  TStringList* GetLines() const { return FLines.get(); }
  TComponent* GetBuddy() const { return FBuddy; }
  void SetBuddy(TComponent* buddy);

  TTestWidget* Parent() const { return FParent; }
  const std::vector<TTestWidget*>& Children() const { return FChildren; }
  void SetParent(TTestWidget* parent);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

protected:
  void DefineProperties(TFiler& filer) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  static void Publish(TPublisher<TTestWidget>& p);

  std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
  std::unique_ptr<TCollection> FItems = std::make_unique<TCollection>(TTestItem::StaticClass());
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TComponent* FBuddy = nullptr;
  TTestWidget* FParent = nullptr;
  std::vector<TTestWidget*> FChildren;
};

class TTestTimer : public TComponent {
  QV_CLASS(TTestTimer, TComponent)
public:
  explicit TTestTimer(TComponent* owner) : TComponent(owner) {}

  bool Enabled = true;
  int32_t Interval = 1000;
  TNotifyEvent OnTimer;

private:
  static void Publish(TPublisher<TTestTimer>& p);
};

class TTestForm : public TTestWidget {
  QV_CLASS(TTestForm, TTestWidget)
public:
  explicit TTestForm(TComponent* owner) : TTestWidget(owner) {}

  TTestWidget* Panel = nullptr;
  TTestWidget* Button = nullptr;
  TTestWidget* List = nullptr;
  TTestTimer* Timer = nullptr;
  TNotifyEvent OnCreate;
  // The handlers called, with their arguments.
  std::vector<std::string> Calls;

  void FormCreate(TObject* sender);
  void ButtonClick(TObject* sender);
  void ButtonMove(TObject* sender, int x, int y);
  void TimerTimer(TObject* sender);

private:
  static void Publish(TPublisher<TTestForm>& p);
};
