// Writes a large icon collection for the loading benchmark: `count` files of
// the sample icons' kind (16, 24, 32, 48 px bitmaps and a 256 px PNG),
// cycling through the sample pictures. Runs on the build machine.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "collections.h"
#include "ico.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[2]) <= 0) {
    std::cerr << "usage: collection_gen <folder> <count>\n";
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    // Drawing is slow next to writing: each picture is drawn once.
    std::vector<std::vector<uint8_t>> files;
    for (const samplegen::SampleCollection& collection : samplegen::SampleCollections()) {
      for (const samplegen::SampleIcon& icon : collection.icons) {
        std::vector<artgen::Image> images;
        for (const int size : samplegen::kSampleIconSizes) images.push_back(icon.draw(size));
        files.push_back(artgen::EncodeIco(images, artgen::IcoFrames::kPng256));
      }
    }
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "icon%05d.ico", i);
      artgen::WriteBytes((folder / name).string(), files[static_cast<size_t>(i) % files.size()]);
    }
  } catch (const std::exception& e) {
    std::cerr << "collection_gen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
