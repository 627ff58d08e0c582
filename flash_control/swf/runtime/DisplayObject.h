// The display tree: what is on stage, at which depth, with which transform. Containers (sprites,
// including each layer's root, and buttons) own their children; everything else refers to display
// objects weakly, so removing one from its parent is the end of it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "flash_control/swf/format/Movie.h"

namespace swf {

class Object;

// What a timeline's control tags say belongs at one depth at the current frame.
struct Placement {
  uint16_t CharacterId = 0;
  Matrix Transform;
  ColorTransform Colors;
  std::string Name;
  uint16_t Ratio = 0;
  std::optional<uint16_t> ClipDepth;
  uint32_t Id = 0;  // the frame and tag that placed it: the same on every replay of the timeline
};

enum class ButtonVisual : uint8_t { Up = kButtonUp, Over = kButtonOver, Down = kButtonDown };

class DisplayObject : public std::enable_shared_from_this<DisplayObject> {
public:
  enum class Kind { Shape, Sprite, Button, Video };

  DisplayObject(Kind kind, std::shared_ptr<const Movie> movie, const Character* character, uint32_t* liveCount);
  virtual ~DisplayObject();
  DisplayObject(const DisplayObject&) = delete;
  DisplayObject& operator=(const DisplayObject&) = delete;

  Kind GetKind() const { return kind_; }
  const Movie& GetMovie() const { return *movie_; }
  const std::shared_ptr<const Movie>& MovieRef() const { return movie_; }
  const Character* GetCharacter() const { return character_; }
  int Version() const { return movie_->Version; }

  DisplayObject* Parent = nullptr;
  uint32_t Nesting = 0;  // 0 for a layer's root
  uint16_t Depth = 0;
  uint16_t CharacterId = 0;
  uint32_t PlacementId = 0;
  Matrix Transform;
  ColorTransform Colors;
  std::string Name;
  uint16_t Ratio = 0;
  std::optional<uint16_t> ClipDepth;
  bool Visible = true;
  // Set once a script moves or recolours the object: the timeline no longer does.
  bool ScriptControlled = false;
  uint32_t Born = 0;  // the stage's frame count when it was created: it does not advance in that frame
  std::map<uint16_t, std::shared_ptr<DisplayObject>> Children;

private:
  Kind kind_;
  std::shared_ptr<const Movie> movie_;
  const Character* character_;
  uint32_t* liveCount_;
};

class SpriteObject : public DisplayObject {
public:
  SpriteObject(std::shared_ptr<const Movie> movie, const Character* character, const Timeline& timeline,
               uint32_t* liveCount)
    : DisplayObject(Kind::Sprite, std::move(movie), character, liveCount), Content(timeline)
  {
  }

  const Timeline& Content;
  static constexpr uint32_t kNoFrame = UINT32_MAX;
  uint32_t CurrentFrame = kNoFrame;  // 0-based
  bool Playing = true;
  std::map<uint16_t, Placement> Placed;
  Object* Variables = nullptr;
  int Level = -1;  // the layer number of a layer's root, -1 for everything else
};

class ButtonObject : public DisplayObject {
public:
  ButtonObject(std::shared_ptr<const Movie> movie, const Button& button, const Character* character, uint32_t* liveCount)
    : DisplayObject(Kind::Button, std::move(movie), character, liveCount), Definition(button)
  {
  }

  const Button& Definition;
  ButtonVisual Visual = ButtonVisual::Up;
};

class VideoObject : public DisplayObject {
public:
  VideoObject(std::shared_ptr<const Movie> movie, const VideoStream& video, const Character* character,
              uint32_t* liveCount)
    : DisplayObject(Kind::Video, std::move(movie), character, liveCount), Definition(video)
  {
  }

  const VideoStream& Definition;
  Object* Stream = nullptr;  // the NetStream attached by a script, kept alive by the heap's marking
};

// "_level0.menu.close": the object's path in dot syntax, from its layer.
std::string TargetPath(const DisplayObject& object);
// "/menu/close" ("/" for a layer's root): the object's path in slash syntax.
std::string SlashPath(const DisplayObject& object);
// The object and its ancestors' transforms, from character space to stage twips.
Matrix WorldTransform(const DisplayObject& object);
ColorTransform WorldColors(const DisplayObject& object);

}  // namespace swf
