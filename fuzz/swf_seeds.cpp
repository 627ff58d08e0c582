// swf_seeds DIRECTORY: writes the build's movies (title bar, scene, video loader) into DIRECTORY as
// the fuzzer's first inputs.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/moviegen/Movies.h"

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
  } catch (const std::exception& e) {
    std::fprintf(stderr, "swf_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
