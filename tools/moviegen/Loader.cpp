#include "tools/moviegen/Movies.h"

namespace moviegen {

using namespace swfwriter;

Movie LoaderMovie()
{
  Movie movie({.version = 7, .frame = PxRect(0, 0, 550, 400), .frameRate = 12, .compressed = true});
  // Every tag with a body has the long header form; with it the movie is 272 bytes long
  // uncompressed, the length the player's asset is known by.
  movie.SetLongHeaders(true);
  movie.SetBackgroundColor(Rgb(0xFFFFFF));

  Actions script;
  script.ConstantPool({"netConn", "NetConnection", "connect", "netStrm", "NetStream", "myvideo",
                       "attachVideo", "fileName", "play"});
  // var netConn = new NetConnection();
  script.Push({"netConn", 0, "NetConnection"}).NewObject().DefineLocal();
  // netConn.connect(null);
  script.Push({Null{}, 1, "netConn"}).GetVariable().Push("connect").CallMethod().Pop();
  // var netStrm = new NetStream(netConn);
  script.Push({"netStrm", "netConn"}).GetVariable().Push({1, "NetStream"}).NewObject();
  script.DefineLocal();
  // myvideo.attachVideo(netStrm);
  script.Push("netStrm").GetVariable().Push({1, "myvideo"}).GetVariable();
  script.Push("attachVideo").CallMethod().Pop();
  // netStrm.play(fileName);
  script.Push("fileName").GetVariable().Push({1, "netStrm"}).GetVariable();
  script.Push("play").CallMethod().Pop();
  movie.DoAction(script);

  const uint16_t video = movie.DefineVideoStream({.frames = 0, .width = 160, .height = 120});
  // Stretches the 160 by 120 video over the 550 by 400 stage, one pixel to the left.
  Matrix stretch = Matrix::Translate(-20, 0);
  stretch.scaleX = 225278;
  stretch.scaleY = 218451;
  movie.PlaceObject2({.depth = 1, .character = video, .matrix = stretch, .name = "myvideo"});
  movie.ShowFrame();
  return movie;
}

}  // namespace moviegen
