#include "png_test_support.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace nestova::imagelist::testing {
namespace {

void AppendBig32(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void WriteToBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

struct Reader {
  const Bytes* file;
  size_t pos;
};

void ReadFromBytes(png_structp png, png_bytep data, size_t length) {
  auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
  if (reader->file->size() - reader->pos < length) png_error(png, "read past the end");
  std::copy_n(reader->file->begin() + static_cast<std::ptrdiff_t>(reader->pos), length, data);
  reader->pos += length;
}

void Quiet(png_structp, png_const_charp) {}

// Rows packed at the file's depth, filled before libpng is called, so that
// nothing with a destructor lives between setjmp and longjmp.
std::vector<Bytes> PackRows(const PngSpec& spec) {
  const int channels = spec.colourType == 2   ? 3
                       : spec.colourType == 4 ? 2
                       : spec.colourType == 6 ? 4
                                              : 1;
  const size_t perRow = size_t{spec.width} * channels;
  std::vector<Bytes> rows(spec.height);
  for (uint32_t y = 0; y < spec.height; ++y) {
    Bytes& row = rows[y];
    row.assign((perRow * spec.bitDepth + 7) / 8, 0);
    for (size_t i = 0; i < perRow; ++i) {
      const uint16_t v = spec.samples.at(y * perRow + i);
      if (spec.bitDepth == 16) {
        row[2 * i] = static_cast<uint8_t>(v >> 8);
        row[2 * i + 1] = static_cast<uint8_t>(v);
      } else if (spec.bitDepth == 8) {
        row[i] = static_cast<uint8_t>(v);
      } else {
        const size_t bit = i * spec.bitDepth;
        row[bit / 8] |= static_cast<uint8_t>(v << (8 - spec.bitDepth - bit % 8));
      }
    }
  }
  return rows;
}

bool WriteWithLibpng(const PngSpec& spec, std::vector<Bytes>& rows, std::vector<png_bytep>& rowPtrs,
                     std::vector<png_color>& palette, Bytes& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, WriteToBytes, nullptr);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (spec.gamma != 0) png_set_gAMA_fixed(png, info, static_cast<png_fixed_point>(spec.gamma));
  if (spec.colourType == 3) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (spec.transparency) {
    png_color_16 key{};
    key.gray = spec.key[0];
    key.red = spec.key[0];
    key.green = spec.key[1];
    key.blue = spec.key[2];
    png_set_tRNS(png, info, spec.paletteAlpha.empty() ? nullptr : spec.paletteAlpha.data(),
                 static_cast<int>(spec.paletteAlpha.size()), &key);
  }
  for (size_t i = 0; i < rows.size(); ++i) rowPtrs[i] = rows[i].data();
  png_set_rows(png, info, rowPtrs.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool ReadWithLibpng(Reader& reader, bool gamma, LibpngPicture& out, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadFromBytes);
  png_read_info(png, info);
  const int colourType = png_get_color_type(png, info);
  out.bitDepth = png_get_bit_depth(png, info);
  out.hasAlpha =
      (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_fixed_point fileGamma = 0;
  if (png_get_gAMA_fixed(png, info, &fileGamma) != 0) out.gamma = static_cast<uint32_t>(fileGamma);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  // The second value stands in for the file's own gamma; without a gAMA
  // chunk, 1 / 2.2 leaves the samples alone.
  if (gamma) png_set_gamma_fixed(png, 220000, out.gamma != 0 ? out.gamma : 45455);
  png_set_bgr(png);
  if (!out.hasAlpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.width = png_get_image_width(png, info);
  out.height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != out.width * 4) png_error(png, "unexpected row size");
  out.bgra.assign(size_t{out.width} * out.height * 4, 0);
  rows.resize(out.height);
  for (uint32_t y = 0; y < out.height; ++y) rows[y] = out.bgra.data() + size_t{y} * out.width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes WritePngWithLibpng(const PngSpec& spec) {
  std::vector<Bytes> rows = PackRows(spec);
  std::vector<png_bytep> rowPtrs(rows.size());
  std::vector<png_color> palette(spec.palette.size() / 3);
  for (size_t i = 0; i < palette.size(); ++i) {
    palette[i] = {spec.palette[3 * i], spec.palette[3 * i + 1], spec.palette[3 * i + 2]};
  }
  Bytes out;
  if (!WriteWithLibpng(spec, rows, rowPtrs, palette, out)) {
    throw std::runtime_error("libpng refused to write");
  }
  return out;
}

LibpngPicture DecodeWithLibpng(const Bytes& file, bool gamma) {
  Reader reader{&file, 0};
  LibpngPicture out;
  std::vector<png_bytep> rows;
  if (!ReadWithLibpng(reader, gamma, out, rows)) throw std::runtime_error("libpng refused to read");
  return out;
}

ChunkWriter::ChunkWriter() : bytes_{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A} {}

ChunkWriter& ChunkWriter::Chunk(const std::string& type, const Bytes& data) {
  AppendBig32(bytes_, static_cast<uint32_t>(data.size()));
  const size_t start = bytes_.size();
  bytes_.insert(bytes_.end(), type.begin(), type.end());
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  AppendBig32(bytes_, static_cast<uint32_t>(crc32(0, bytes_.data() + start,
                                                  static_cast<uInt>(bytes_.size() - start))));
  return *this;
}

ChunkWriter& ChunkWriter::Header(uint32_t width, uint32_t height, int bitDepth, int colourType,
                                 int interlace) {
  Bytes data;
  AppendBig32(data, width);
  AppendBig32(data, height);
  data.push_back(static_cast<uint8_t>(bitDepth));
  data.push_back(static_cast<uint8_t>(colourType));
  data.push_back(0);
  data.push_back(0);
  data.push_back(static_cast<uint8_t>(interlace));
  return Chunk("IHDR", data);
}

Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
    throw std::runtime_error("compress failed");
  }
  out.resize(size);
  return out;
}

}  // namespace nestova::imagelist::testing
