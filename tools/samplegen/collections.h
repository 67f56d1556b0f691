// The sample icon collections shipped beside the program, so a new user has
// icons to choose from at the first start.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "raster.h"

namespace samplegen {

// The sizes Explorer asks for, from the details view to extra large icons.
inline constexpr int kSampleIconSizes[] = {16, 24, 32, 48, 256};

struct SampleIcon {
  std::string fileName;  // UTF-8, with the ".ico" extension
  std::function<artgen::Image(int size)> draw;
};

struct SampleCollection {
  std::string name;  // UTF-8; the folder under Icons
  std::vector<SampleIcon> icons;
};

std::vector<SampleCollection> SampleCollections();

// Writes every collection as a folder of .ico files under `iconsFolder`,
// creating the folders. Throws std::runtime_error when a file cannot be written.
void WriteSampleCollections(const std::string& iconsFolder);

}  // namespace samplegen
