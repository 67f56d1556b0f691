// PNG decoding speed, side by side in one run: our decoder, libpng with the
// transforms that give the same pixels, and zlib's inflate of the image data
// alone (the floor no decoder can beat). Two sets: icon-size files of several
// colour types, and one large photo-like picture. All files are made here
// with libpng at its default settings, so they are filtered and compressed
// as ordinary files are. Prints min and median times and the ratios to the
// floor. Usage: bench_png_decode [repeats]
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "imagelist/png_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// ---- writing the files with libpng ----

void Append(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Quiet(png_structp, png_const_charp) {}

bool WriteRows(Bytes& out, uint32_t w, uint32_t h, int colourType, int depth,
               std::vector<png_bytep>& rows, const std::vector<png_color>& palette,
               const Bytes& paletteAlpha) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, w, h, depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!paletteAlpha.empty()) {
      png_set_tRNS(png, info, paletteAlpha.data(), static_cast<int>(paletteAlpha.size()), nullptr);
    }
  }
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

uint32_t Noise(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 24;
}

// Smooth gradients and a soft disc, with some noise: like an icon when
// small, like a photograph when large. `noise` is the noise amplitude.
Bytes MakePicture(uint32_t w, uint32_t h, int colourType, int noise, uint32_t seed) {
  const int channels = colourType == 2 ? 3 : colourType == 6 ? 4 : colourType == 4 ? 2 : 1;
  std::vector<Bytes> data(h, Bytes(size_t{w} * channels));
  std::vector<png_bytep> rows(h);
  uint32_t state = seed;
  const double cx = w * 0.45, cy = h * 0.55, radius = std::min(w, h) * 0.4;
  for (uint32_t y = 0; y < h; ++y) {
    rows[y] = data[y].data();
    for (uint32_t x = 0; x < w; ++x) {
      const double fx = double(x) / w, fy = double(y) / h;
      const double d = std::hypot(x - cx, y - cy) / radius;
      const double inside = std::clamp(1.5 - d, 0.0, 1.0);
      double rgb[3] = {255 * (0.3 + 0.5 * fx * inside), 255 * (0.2 + 0.6 * fy),
                       255 * (0.8 - 0.5 * fx * fy + 0.2 * std::sin(6 * fx) * inside)};
      uint8_t* p = &data[y][size_t{x} * channels];
      for (int c = 0; c < 3; ++c) {
        const int n = noise > 0 ? int(Noise(state) % (2 * noise + 1)) - noise : 0;
        rgb[c] = std::clamp(rgb[c] + n, 0.0, 255.0);
      }
      const uint8_t alpha = static_cast<uint8_t>(255 * std::clamp(1.2 - d, 0.0, 1.0));
      switch (colourType) {
        case 0:
          p[0] = static_cast<uint8_t>((rgb[0] + rgb[1] + rgb[2]) / 3);
          break;
        case 3:  // 64 colours, the outside transparent
          p[0] =
              static_cast<uint8_t>(int(rgb[0]) / 64 * 16 + int(rgb[1]) / 64 * 4 + int(rgb[2]) / 64);
          if (alpha == 0) p[0] = 64;
          break;
        case 4:
          p[0] = static_cast<uint8_t>((rgb[0] + rgb[1] + rgb[2]) / 3);
          p[1] = alpha;
          break;
        default:
          for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(rgb[c]);
          if (colourType == 6) p[3] = alpha;
      }
    }
  }
  std::vector<png_color> palette;
  Bytes paletteAlpha;
  if (colourType == 3) {
    for (int i = 0; i < 65; ++i) {
      palette.push_back({static_cast<uint8_t>(i / 16 * 85), static_cast<uint8_t>(i / 4 % 4 * 85),
                         static_cast<uint8_t>(i % 4 * 85)});
    }
    paletteAlpha.assign(65, 255);
    paletteAlpha[64] = 0;
  }
  Bytes out;
  if (!WriteRows(out, w, h, colourType, 8, rows, palette, paletteAlpha)) {
    std::fprintf(stderr, "libpng could not write a picture\n");
    std::exit(1);
  }
  return out;
}

// ---- the three contenders ----

struct LibpngReader {
  const Bytes* file;
  size_t pos;
};

void ReadBytes(png_structp png, png_bytep data, size_t length) {
  auto* r = static_cast<LibpngReader*>(png_get_io_ptr(png));
  if (r->file->size() - r->pos < length) png_error(png, "truncated");
  std::memcpy(data, r->file->data() + r->pos, length);
  r->pos += length;
}

// Same output as ours: 32-bit blue, green, red, alpha (filler where the
// picture has no alpha).
bool DecodeWithLibpng(const Bytes& file, Bytes& bgra, std::vector<png_bytep>& rows) {
  LibpngReader reader{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadBytes);
  png_read_info(png, info);
  const bool alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const uint32_t w = png_get_image_width(png, info);
  const uint32_t h = png_get_image_height(png, info);
  bgra.resize(size_t{w} * h * 4);
  rows.resize(h);
  for (uint32_t y = 0; y < h; ++y) rows[y] = bgra.data() + size_t{y} * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

struct File {
  Bytes png;
  Bytes idat;           // the IDAT chunks' data, joined
  size_t filteredSize;  // what it inflates to
  int filters[5] = {};  // rows per filter type
};

uint32_t Big32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void Inflate(const Bytes& in, Bytes& out) {
  z_stream z{};
  inflateInit(&z);
  z.next_in = const_cast<Bytef*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (inflate(&z, Z_FINISH) != Z_STREAM_END) {
    std::fprintf(stderr, "inflate failed\n");
    std::exit(1);
  }
  inflateEnd(&z);
}

File Prepare(Bytes png) {
  File f;
  for (size_t pos = 8; pos + 12 <= png.size();) {
    const uint32_t length = Big32(&png[pos]);
    if (std::memcmp(&png[pos + 4], "IDAT", 4) == 0) {
      f.idat.insert(f.idat.end(), png.begin() + pos + 8, png.begin() + pos + 8 + length);
    }
    pos += 12 + size_t{length};
  }
  const uint32_t w = Big32(&png[16]), h = Big32(&png[20]);
  const int channels = png[25] == 2 ? 3 : png[25] == 6 ? 4 : png[25] == 4 ? 2 : 1;
  const size_t stride = size_t{w} * channels * png[24] / 8 + 1;
  f.filteredSize = stride * h;
  Bytes raw(f.filteredSize);
  Inflate(f.idat, raw);
  for (uint32_t y = 0; y < h; ++y) ++f.filters[std::min<int>(raw[y * stride], 4)];
  f.png = std::move(png);
  return f;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Times {
  std::vector<double> ours, libpng, floor;
};

// Each repeat decodes the whole set with each contender in turn.
Times Measure(const std::vector<File>& set, int repeats) {
  Times t;
  Bytes bgra, raw;
  std::vector<png_bytep> rows;
  size_t sink = 0;
  for (int r = 0; r < repeats; ++r) {
    auto start = Clock::now();
    for (const File& f : set) sink += nestova::imagelist::DecodePng(f.png).bgra.size();
    t.ours.push_back(Ms(Clock::now() - start));

    start = Clock::now();
    for (const File& f : set) {
      if (!DecodeWithLibpng(f.png, bgra, rows)) std::exit(1);
      sink += bgra.size();
      Bytes().swap(bgra);  // a new picture each time, as ours makes
    }
    t.libpng.push_back(Ms(Clock::now() - start));

    start = Clock::now();
    for (const File& f : set) {
      raw.resize(f.filteredSize);
      Inflate(f.idat, raw);
      sink += raw[0];
    }
    t.floor.push_back(Ms(Clock::now() - start));
  }
  if (sink == 0) std::puts("");
  return t;
}

double Min(std::vector<double> v) { return *std::min_element(v.begin(), v.end()); }
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Report(const char* name, const std::vector<File>& set, int repeats) {
  size_t bytes = 0, filtered = 0;
  int filters[5] = {};
  for (const File& f : set) {
    bytes += f.png.size();
    filtered += f.filteredSize;
    for (int i = 0; i < 5; ++i) filters[i] += f.filters[i];
  }
  std::printf(
      "%s: %zu files, %.1f KB compressed, %.1f KB inflated; rows by filter "
      "none/sub/up/avg/paeth %d/%d/%d/%d/%d\n",
      name, set.size(), bytes / 1024.0, filtered / 1024.0, filters[0], filters[1], filters[2],
      filters[3], filters[4]);
  const Times t = Measure(set, repeats);
  const double floorMin = Min(t.floor), floorMed = Median(t.floor);
  std::printf("  %-8s min %9.3f ms  median %9.3f ms\n", "floor", floorMin, floorMed);
  std::printf("  %-8s min %9.3f ms  median %9.3f ms  ratio to floor %.2f (median %.2f)\n", "ours",
              Min(t.ours), Median(t.ours), Min(t.ours) / floorMin, Median(t.ours) / floorMed);
  std::printf("  %-8s min %9.3f ms  median %9.3f ms  ratio to floor %.2f (median %.2f)\n", "libpng",
              Min(t.libpng), Median(t.libpng), Min(t.libpng) / floorMin,
              Median(t.libpng) / floorMed);
}

// Our pixels must be libpng's, or the timings mean nothing.
void CheckSame(const std::vector<File>& set) {
  Bytes bgra;
  std::vector<png_bytep> rows;
  for (const File& f : set) {
    const nestova::imagelist::Picture p = nestova::imagelist::DecodePng(f.png);
    if (!DecodeWithLibpng(f.png, bgra, rows) || bgra != p.bgra) {
      std::fprintf(stderr, "our decoder and libpng disagree\n");
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  std::vector<File> icons;
  uint32_t seed = 1;
  for (uint32_t size : {16u, 24u, 32u, 48u, 64u, 128u, 256u}) {
    for (int type : {6, 2, 3, 4})
      icons.push_back(Prepare(MakePicture(size, size, type, 2, seed++)));
  }
  std::vector<File> large;
  large.push_back(Prepare(MakePicture(2000, 2000, 2, 6, 99)));
  std::vector<File> largeAlpha;
  largeAlpha.push_back(Prepare(MakePicture(2000, 2000, 6, 6, 100)));
  CheckSame(icons);
  CheckSame(large);
  CheckSame(largeAlpha);

  std::printf("PNG decoding, %d repeats (times per whole set)\n", repeats);
  Report("icons 16-256 px, RGBA/RGB/palette+tRNS/grey+alpha", icons, repeats * 20);
  Report("large 2000x2000 RGB", large, repeats);
  Report("large 2000x2000 RGBA", largeAlpha, repeats);
  return 0;
}
