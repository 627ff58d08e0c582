// The caps that keep an untrusted movie from hurting its host. Every one is enforced; the defaults are
// far above what a hand-made or tool-made movie of the supported kind needs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

struct Limits {
  // Size of one movie after inflating (and of an uncompressed file).
  size_t MaxMovieBytes = 32u << 20;
  // Edges of all shapes of one movie, so a small hostile file cannot expand into a huge model.
  uint32_t MaxEdges = 1'000'000;
  // Frames of one timeline (the file format's own maximum).
  uint32_t MaxFrames = 16000;
  // Sprites and buttons placed inside each other; deeper placements are left empty.
  uint32_t MaxNesting = 32;
  // Live display objects of all layers together; further placements are ignored.
  uint32_t MaxDisplayObjects = 20000;
  // Script actions run for one frame (or one mouse event); the rest of that work is dropped.
  uint32_t MaxActionsPerFrame = 200'000;
  // Wall-clock time the scripts of one frame may take before they are stopped.
  uint32_t MaxScriptMilliseconds = 1000;
  // Nested script function calls.
  uint32_t MaxCallDepth = 64;
  // Script objects alive at once, the bytes of names and texts they hold, and the length of one
  // script text (making a text also costs one action per 64 bytes).
  uint32_t MaxObjects = 100'000;
  size_t MaxScriptBytes = 64u << 20;
  uint32_t MaxStringLength = 1u << 20;
  // Values on the script stack.
  uint32_t MaxStackDepth = 100'000;
};

}  // namespace swf
