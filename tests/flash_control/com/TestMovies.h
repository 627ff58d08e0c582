// Small movies for the control's tests, made with the SWF writer, and files to hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace flash_control_test {

// 100 by 100 pixels on #2040A0: a red square from (20, 20) to (60, 60) and a green disc of radius
// 15 around (75, 75). One frame.
std::vector<uint8_t> ShapesMovie();

// 100 by 100 pixels at 50 frames per second, 5 frames labelled "start" (0) and "middle" (2); a
// square moves right by 10 pixels a frame. The root holds the variable `greeting` = "hello" and a
// sprite named "clip" of 3 frames with its own variable `inner` = "deep".
std::vector<uint8_t> TimelineMovie();

// 200 by 50 pixels: a "Min" button over (100, 10)-(140, 40) and a "Close" button over
// (150, 10)-(190, 40) that send those FSCommands on release, as the title bar movie does.
std::vector<uint8_t> ButtonsMovie();

// 100 by 100 pixels on white: a blue square from (10, 10) to (30, 30). For a higher layer.
std::vector<uint8_t> OverlayMovie();

// A file in the test's folder, deleted again with the object.
class TTempFile {
public:
  TTempFile(const std::wstring& name, const std::vector<uint8_t>& bytes);
  ~TTempFile();
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  // The absolute path.
  const std::wstring& Path() const { return FPath; }

private:
  std::wstring FPath;
};

}  // namespace flash_control_test
