// swf_seeds DIRECTORY: writes the fuzzer's first inputs into DIRECTORY: the build's movies (title
// bar, scene, video loader) and a small movie that uses every kind of script action the engine
// knows, with a sprite and a button, so mutations start from deep inside the interpreter.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/moviegen/Movies.h"

namespace {

using namespace swfwriter;

Movie ScriptMovie()
{
  Movie movie({.version = 7, .frame = PxRect(0, 0, 64, 48), .frameRate = 12});
  Shape box;
  box.Rectangle(PxRect(0, 0, 16, 16), box.AddFill(Rgba(0x336699, 200)), box.AddLine(Px(1), Rgb(0x112233)));
  const uint16_t shape = movie.DefineShape(box);

  Sprite spin;
  spin.PlaceObject2({.depth = 1, .character = shape});
  spin.ShowFrame();
  spin.FrameLabel("turn");
  spin.PlaceObject2({.depth = 1, .move = true, .matrix = Matrix::Transform(Px(8), Px(8), 1.5, 0.5, 30)});
  spin.DoAction(Actions().Push({"_parent:count", "_parent:count"}).GetVariable().Push(1).Add2().SetVariable());
  spin.ShowFrame();
  const uint16_t sprite = movie.DefineSprite(spin);

  Button button;
  button.Add(swf::kButtonUp | swf::kButtonHit, shape, 1);
  button.Add(swf::kButtonOver, shape, 1, Matrix::Translate(Px(1), 0));
  button.On(swf::kOverDownToOverUp,
            Actions().GetURL("FSCommand:click", "now").Push("spin").Raw(swf::kActionSetTarget2).Play());
  const uint16_t clickable = movie.DefineButton2(button);

  movie.PlaceObject2({.depth = 1, .character = sprite, .name = "spin"});
  movie.PlaceObject2({.depth = 2, .character = clickable, .matrix = Matrix::Translate(Px(30), Px(20)), .name = "go"});

  Actions script;
  script.ConstantPool({"count", "o", "Object", "a", "spin", "_x"});
  const auto loop = script.NewLabel(), done = script.NewLabel();
  script.Push({"count", 0}).SetVariable();
  script.Push({"o", 0, "Object"}).NewObject().SetVariable();
  script.Push({"o"}).GetVariable().Push({"a", 2.5}).SetMember();
  script.Bind(loop).Push({"count"}).GetVariable().Push(5).Less2().Not().If(done);
  script.Push({"count", "count"}).GetVariable().Push({"o"}).GetVariable().Push("a").GetMember().Add2().SetVariable();
  script.Jump(loop).Bind(done);
  script.Push({"spin"}).GetVariable().Push({"_x", 12}).SetMember();
  script.Push({"spin", 2, 45}).Raw(swf::kActionSetProperty);
  script.Push({"text", "a"}).Push("b").Raw(swf::kActionStringAdd).SetVariable();
  script.Push("spin:turn").Raw(swf::kActionGotoFrame2, {0x01});
  script.Push({"nc", 0, "NetConnection"}).NewObject().SetVariable();
  script.Push({"ns", "nc"}).GetVariable().Push({1, "NetStream"}).NewObject().SetVariable();
  script.Push({"fileName"}).GetVariable().Push({1, "ns"}).GetVariable().Push("play").CallMethod().Pop();
  script.Push({"fscommand:log", "x"}).GetURL2();
  movie.DoAction(script);
  movie.ShowFrame();
  movie.FrameLabel("end");
  movie.DoAction(Actions().PreviousFrame().Push(1).Greater().Pop().GotoFrame(0));
  movie.ShowFrame();
  return movie;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fputs("usage: swf_seeds DIRECTORY\n", stderr);
    return 2;
  }
  try {
    const std::string dir = argv[1];
    moviegen::MenuMovie().SaveToFile(dir + "/menu.swf");
    moviegen::ZarinelleMovie().SaveToFile(dir + "/zarinelle.swf");
    moviegen::LoaderMovie().SaveToFile(dir + "/loader.swf");
    ScriptMovie().SaveToFile(dir + "/script.swf");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "swf_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
