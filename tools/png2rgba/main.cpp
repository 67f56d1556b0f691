// png2rgba IN.png OUT.rgba: decodes a PNG file with our decoder and writes
// its pixels as red, green, blue, alpha bytes, rows from the top; alpha is
// 255 where the picture has no alpha of its own. Prints "W H".
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "imagelist/png_decoder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: png2rgba IN.png OUT.rgba\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << argv[1] << "\n";
    return 2;
  }
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  nestova::imagelist::Picture picture;
  try {
    picture = nestova::imagelist::DecodePng(file);
  } catch (const nestova::imagelist::DecodeError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  std::vector<uint8_t> rgba(picture.bgra.size());
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = picture.bgra[i + 2];
    rgba[i + 1] = picture.bgra[i + 1];
    rgba[i + 2] = picture.bgra[i];
    rgba[i + 3] = picture.hasAlpha ? picture.bgra[i + 3] : 255;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(rgba.data()), static_cast<std::streamsize>(rgba.size()));
  if (!out) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 2;
  }
  std::cout << picture.width << " " << picture.height << "\n";
  return 0;
}
