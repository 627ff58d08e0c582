// moviegen MENU ZARINELLE LOADER: writes the title bar movie, the game scene and the loader movie
// to the three paths given.
#include <cstdio>
#include <exception>

#include "tools/moviegen/Movies.h"

int main(int argc, char** argv)
{
  if (argc != 4) {
    std::fputs("usage: moviegen MENU.swf ZARINELLE.swf LOADER.swf\n", stderr);
    return 2;
  }
  try {
    moviegen::MenuMovie().SaveToFile(argv[1]);
    moviegen::ZarinelleMovie().SaveToFile(argv[2]);
    moviegen::LoaderMovie().SaveToFile(argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "moviegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
