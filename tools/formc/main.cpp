// qv_formc <input> <output>
// Compiles a text form into binary form data, or turns form data (which starts with "TPF0") back
// into text. Nothing is written when the input is not a valid form; the error goes to stderr.
#include "platform/FormText.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fputs("usage: qv_formc <input> <output>\n", stderr);
    return 2;
  }
  try {
    TMemoryStream input;
    input.LoadFromFile(argv[1]);
    TMemoryStream output;
    if (input.GetSize() >= 4 && std::memcmp(input.Memory(), "TPF0", 4) == 0)
      ObjectBinaryToText(input, output);
    else
      ObjectTextToBinary(input, output);
    output.SaveToFile(argv[2]);
  } catch (const Exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}
