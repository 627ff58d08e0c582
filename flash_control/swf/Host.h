// What the engine asks of the program that plays a movie. Every call is made on the thread that
// drives the player, from inside one of its calls (a frame, a pointer event, a load): the host
// should note what it must do and do it after that call returns, rather than call back into the
// player from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace swf {

class Host {
public:
  // A script's get-URL of "FSCommand:<command>"; `args` is the URL's target text.
  virtual void FSCommand(std::string_view command, std::string_view args) = 0;
  // Any other get-URL. Players that do not navigate may ignore it.
  virtual void GetUrl(std::string_view url, std::string_view target) = 0;
  // Up to `maxBytes` from the start of a file a script asks to play (NetStream.play), or nothing
  // when it cannot be read. The engine itself never touches files.
  virtual std::optional<std::vector<uint8_t>> ReadFile(std::string_view path, size_t maxBytes) = 0;

protected:
  ~Host() = default;
};

}  // namespace swf
