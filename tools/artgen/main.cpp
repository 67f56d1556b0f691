// artgen: draws the program's glyphs and icon and writes them as .ico files.
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "ico.h"
#include "pictures.h"

namespace {

struct Picture {
    const char* fileName;
    std::function<artgen::Image()> draw;
};

const Picture kPictures[] = {
    {"glyph_apply.ico", artgen::DrawApplyGlyph},
    {"glyph_cancel.ico", artgen::DrawCancelGlyph},
    {"glyph_clear.ico", artgen::DrawClearGlyph},
    {"nestova.ico", artgen::DrawAppIcon},
};

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
            artgen::WriteBytes((folder / picture.fileName).string(), artgen::EncodeIco(picture.draw()));
    } catch (const std::exception& e) {
        std::cerr << "artgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
