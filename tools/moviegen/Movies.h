// The movies the build makes: the title bar and the game scene that the shell plays from its
// modules folder, and the loader that the Flash player writes out to play a Flash Video file.
#pragma once

#include "tools/swf/Movie.h"

namespace moviegen {

// 746 by 50: the title bar, with "Min" and "Close" buttons in its right 106 pixels.
swfwriter::Movie MenuMovie();
// 740 by 400: the looping animated scene.
swfwriter::Movie ZarinelleMovie();
// 550 by 400: plays the video named by the `fileName` variable in a video object over the stage.
swfwriter::Movie LoaderMovie();

}  // namespace moviegen
