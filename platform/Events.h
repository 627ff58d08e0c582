// Events: typed closures of an object and one of its member functions. Pure: no Windows header.
//
//   TNotifyEvent OnClick;                               // a published event field
//   OnClick = Bind<&TMainForm::ButtonClick>(this);      // bound in code
//   if (OnClick) OnClick(this);                         // fired
//
// Form data binds events by method name through the root's published methods (TypInfo.h).
#pragma once

#include <utility>

class TObject;

// An event with its type erased, as form data and the published-method tables handle it. Only a
// TEvent of the matching signature turns it back into something callable.
struct TMethod {
  TObject* Data = nullptr;
  void (*Code)() = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

template <class Signature>
class TEvent;

template <class R, class... A>
class TEvent<R(A...)> {
public:
  using TCode = R (*)(TObject*, A...);

  TEvent() = default;
  TEvent(TObject* data, TCode code) : FData(data), FCode(code) {}

  explicit operator bool() const { return FCode != nullptr; }
  // Calls the handler; an unassigned event must not be called.
  R operator()(A... args) const { return FCode(FData, std::forward<A>(args)...); }

  TObject* Data() const { return FData; }
  TMethod Method() const { return {FData, reinterpret_cast<void (*)()>(FCode)}; }
  // The caller guarantees that `method` was made from an event of this signature.
  static TEvent FromMethod(const TMethod& method)
  {
    return TEvent(method.Data, reinterpret_cast<TCode>(method.Code));
  }

  friend bool operator==(const TEvent&, const TEvent&) = default;

private:
  TObject* FData = nullptr;
  TCode FCode = nullptr;
};

// The one function through which every event bound to `Handler` is called: the same address for a
// handler bound in code and one bound by form data, so the writer can name it.
template <auto Handler>
struct TMethodThunk;

template <class C, class R, class... A, R (C::*Handler)(A...)>
struct TMethodThunk<Handler> {
  using TClass = C;
  using TSignature = R(A...);

  static R Call(TObject* data, A... args)
  {
    return (static_cast<C*>(data)->*Handler)(std::forward<A>(args)...);
  }
};

template <auto Handler>
TEvent<typename TMethodThunk<Handler>::TSignature> Bind(
  typename TMethodThunk<Handler>::TClass* object)
{
  return {object, &TMethodThunk<Handler>::Call};
}

using TNotifyEvent = TEvent<void(TObject* Sender)>;
