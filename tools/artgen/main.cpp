// artgen: draws the program's glyphs and icon and writes them as .ico files.
#include <exception>
#include <filesystem>
#include <iostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "ico.h"
#include "pictures.h"

namespace {

struct Picture {
  const char* fileName;
  artgen::Image (*draw)(int size);
  std::span<const int> sizes;
};

const Picture kPictures[] = {
    {"glyph_apply.ico", artgen::DrawApplyGlyph, artgen::kGlyphSizes},
    {"glyph_cancel.ico", artgen::DrawCancelGlyph, artgen::kGlyphSizes},
    {"glyph_clear.ico", artgen::DrawClearGlyph, artgen::kGlyphSizes},
    {"nestova.ico", artgen::DrawAppIcon, artgen::kAppIconSizes},
};

// Every size goes into the one file, so Windows can pick the one it needs.
std::vector<artgen::Image> DrawAllSizes(const Picture& picture) {
  std::vector<artgen::Image> images;
  for (const int size : picture.sizes) images.push_back(picture.draw(size));
  return images;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]).empty()) {
    std::cerr << "usage: artgen <output-folder>\n";
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder))
      throw std::runtime_error("cannot create folder " + folder.string() +
                               (error ? ": " + error.message() : std::string()));
    for (const Picture& picture : kPictures)
      artgen::WriteBytes((folder / picture.fileName).string(),
                         artgen::EncodeIco(DrawAllSizes(picture)));
  } catch (const std::exception& e) {
    std::cerr << "artgen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
