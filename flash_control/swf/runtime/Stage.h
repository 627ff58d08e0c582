// The engine core: the layers of loaded movies and their display trees, timelines, the queue of
// frame scripts, buttons under the pointer, and the caps that bound all of it. Pure C++.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flash_control/swf/Host.h"
#include "flash_control/swf/Limits.h"
#include "flash_control/swf/format/Movie.h"
#include "flash_control/swf/runtime/DisplayObject.h"
#include "flash_control/swf/script/Object.h"
#include "flash_control/swf/script/Value.h"

namespace swf {

class Stage {
public:
  Stage(Host* host, const Limits& limits);
  ~Stage();
  Stage(const Stage&) = delete;
  Stage& operator=(const Stage&) = delete;

  const Limits& GetLimits() const { return limits_; }
  Host* GetHost() const { return host_; }
  Heap& GetHeap() { return heap_; }

  // Layers --------------------------------------------------------------------------------------
  // Puts `movie` on layer `level` (replacing what was there), sets `variables` on its root and
  // enters its first frame, running that frame's scripts. Loading layer 0 clears every layer.
  void Load(int level, std::shared_ptr<const Movie> movie,
            const std::vector<std::pair<std::string, std::string>>& variables);
  void Unload(int level);
  void UnloadAll();
  SpriteObject* Root(int level) const;
  const std::map<int, std::shared_ptr<SpriteObject>>& Layers() const { return layers_; }
  // Set when something changed that the render list cannot show: layers, background.
  bool TakeStructureChanged();

  // Time ----------------------------------------------------------------------------------------
  // One frame of every playing timeline, then the scripts this queued.
  void Advance();
  bool Loop = true;  // what a layer's root does at its last frame: wrap or stop

  // Timelines (frames are 0-based) ---------------------------------------------------------------
  void GotoFrame(SpriteObject& sprite, uint32_t frame);
  bool GotoLabel(SpriteObject& sprite, std::string_view label);
  // Runs the scripts of a frame of `sprite` without going there.
  void CallFrame(SpriteObject& sprite, uint32_t frame);
  // Runs the scripts queued so far (within the budget of the current turn).
  void RunScripts();
  // Starts a new budget for the scripts run by one outside call, frame or mouse event.
  void StartTurn();
  void Queue(SpriteObject& target, const ActionBytes& code);
  // Number of scripts (and queued work) stopped by the action or time caps so far.
  uint32_t StoppedScripts() const { return stoppedScripts_; }
  // Charges one action to the current turn; false once the turn's budget is spent.
  bool ChargeAction();
  // Charges other work done for scripts; what passes the budget stops the next action.
  void Charge(uint32_t units);
  // The scripts' pseudo-random sequence: the same on every run of a movie.
  uint32_t NextRandom() { return random_ = random_ * 1103515245u + 12345u; }

  // Paths, variables and properties ----------------------------------------------------------------
  // "/", "/a/b", "_level1", "_level0.a.b", "_root", "_parent", "..", relative to `base` (or
  // _level0 when base is null). Null when nothing is there.
  DisplayObject* ResolveTarget(DisplayObject* base, std::string_view path) const;
  // "name", "path:name" or "path.name"; variables, then display properties and named children.
  Value GetVariable(DisplayObject* scope, std::string_view name) const;
  // False when there is no such target, or no room for the value.
  bool SetVariable(DisplayObject* scope, std::string_view name, Value value);
  Value GetMember(DisplayObject& object, std::string_view name) const;
  bool SetMember(DisplayObject& object, std::string_view name, Value value);
  // Members of any value: display objects and script objects have them, other values do not.
  Value MemberOf(const Value& holder, std::string_view name) const;
  bool SetMemberOf(const Value& holder, std::string_view name, Value value);
  // Display properties by number (0 _x ... 21 _ymouse); undefined for unknown numbers.
  Value GetProperty(DisplayObject& object, int index) const;
  void SetProperty(DisplayObject& object, int index, const Value& value);
  static int PropertyIndex(std::string_view name);

  // Pointer (stage twips) --------------------------------------------------------------------------
  void PointerMove(int32_t x, int32_t y);
  void PointerDown(int32_t x, int32_t y);
  void PointerUp(int32_t x, int32_t y);
  void PointerLeave();
  bool OverButton() const { return pressed_.expired() ? !hover_.expired() : pressedInside_; }

private:
  struct VariableSlot {
    Value Holder;
    std::string Name;
  };
  VariableSlot Locate(DisplayObject* scope, std::string_view name) const;

  struct PendingScript {
    ClipRef Target;
    std::shared_ptr<const Movie> Source;  // keeps the code alive
    const ActionBytes* Code;
  };

  void AdvanceSprite(SpriteObject& sprite);
  void Reconcile(SpriteObject& sprite);
  std::shared_ptr<DisplayObject> Create(DisplayObject& parent, uint16_t depth, const Placement& placement);
  void SetVisual(ButtonObject& button, ButtonVisual visual);
  void ShowVisual(ButtonObject& button);
  void RunButtonActions(ButtonObject& button, uint16_t condition);
  ButtonObject* ButtonAt(int32_t x, int32_t y) const;
  void UpdateHover(ButtonObject* over);
  DisplayObject* FindChild(const DisplayObject& parent, std::string_view name) const;
  void CollectGarbage();
  bool OnStage(const DisplayObject& object) const;

  Host* host_;
  Limits limits_;
  Heap heap_;
  std::map<int, std::shared_ptr<SpriteObject>> layers_;
  bool structureChanged_ = true;
  uint32_t liveObjects_ = 0;
  uint32_t tick_ = 0;

  std::deque<PendingScript> scripts_;
  uint32_t actionsLeft_ = 0;
  std::chrono::steady_clock::time_point deadline_;
  uint32_t stoppedScripts_ = 0;
  uint32_t random_ = 1;

  std::weak_ptr<ButtonObject> hover_;
  std::weak_ptr<ButtonObject> pressed_;
  bool pressedInside_ = false;
  int32_t pointerX_ = 0, pointerY_ = 0;
};

}  // namespace swf
