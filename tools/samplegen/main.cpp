// samplegen: draws the sample icon collections into the program's Icons folder.
#include <exception>
#include <iostream>
#include <string>

#include "collections.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]).empty()) {
    std::cerr << "usage: samplegen <Icons-folder>\n";
    return 2;
  }
  try {
    samplegen::WriteSampleCollections(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "samplegen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
