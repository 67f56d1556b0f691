// Broken and unusual files, each made here from a small valid one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imagelist/png_decoder.h"
#include "png_test_support.h"

namespace nestova::imagelist {
namespace {

using testing::Bytes;
using testing::ChunkWriter;
using testing::Deflate;

Bytes Big32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

Bytes Header(uint32_t width, uint32_t height, int depth, int colourType, int compression = 0,
             int filter = 0, int interlace = 0) {
  Bytes h = Big32(width);
  const Bytes hh = Big32(height);
  h.insert(h.end(), hh.begin(), hh.end());
  for (int v : {depth, colourType, compression, filter, interlace}) {
    h.push_back(static_cast<uint8_t>(v));
  }
  return h;
}

// 2 x 2 truecolour, 8 bits: filter byte 0 and six samples per row.
const Bytes kRgbRows = {0, 10, 20, 30, 40, 50, 60, 0, 70, 80, 90, 100, 110, 120};
// 2 x 2 palette, 8 bits, indices 0 and 1.
const Bytes kPaletteRows = {0, 0, 1, 0, 1, 0};
const Bytes kPalette = {255, 0, 0, 0, 255, 0};

Bytes ValidRgb() {
  return ChunkWriter()
      .Header(2, 2, 8, 2)
      .Chunk("IDAT", Deflate(kRgbRows))
      .Chunk("IEND", {})
      .bytes();
}

// The offset of the first byte of the first chunk of that type.
size_t ChunkOffset(const Bytes& file, const std::string& type) {
  for (size_t pos = 8; pos + 8 <= file.size();) {
    const uint32_t length = uint32_t{file[pos]} << 24 | uint32_t{file[pos + 1]} << 16 |
                            uint32_t{file[pos + 2]} << 8 | file[pos + 3];
    if (std::string(file.begin() + static_cast<std::ptrdiff_t>(pos + 4),
                    file.begin() + static_cast<std::ptrdiff_t>(pos + 8)) == type) {
      return pos;
    }
    pos += 12 + size_t{length};
  }
  throw std::runtime_error("no chunk " + type);
}

Bytes WithFlippedByte(Bytes file, size_t at) {
  file.at(at) ^= 0x01;
  return file;
}

Bytes Cut(Bytes file, size_t size) {
  file.resize(size);
  return file;
}

Bytes Rows(Bytes rows, size_t at, uint8_t value) {
  rows.at(at) = value;
  return rows;
}

// A stream whose checksum is off by one bit, in one IDAT chunk or spread
// over chunks of one byte.
Bytes WrongAdler(bool split) {
  Bytes z = Deflate(kRgbRows);
  z.back() ^= 0x01;
  ChunkWriter file;
  file.Header(2, 2, 8, 2);
  if (split) {
    for (uint8_t b : z) file.Chunk("IDAT", {b});
  } else {
    file.Chunk("IDAT", z);
  }
  return file.Chunk("IEND", {}).bytes();
}

// A stream header (valid for its check bits) followed by the valid stream's
// deflate data.
Bytes WithStreamHeader(uint8_t method, uint8_t flags) {
  Bytes z = Deflate(kRgbRows);
  z[0] = method;
  z[1] = flags;
  return ChunkWriter().Header(2, 2, 8, 2).Chunk("IDAT", z).Chunk("IEND", {}).bytes();
}

struct BrokenCase {
  const char* name;
  Bytes file;
  const char* message;
};

std::vector<BrokenCase> BrokenCases() {
  const Bytes valid = ValidRgb();
  const size_t idat = ChunkOffset(valid, "IDAT");
  const size_t iend = ChunkOffset(valid, "IEND");
  const Bytes z = Deflate(kRgbRows);
  return {
      {"empty data", {}, "not a PNG file"},
      {"wrong signature", WithFlippedByte(valid, 1), "not a PNG file"},
      {"signature only", Cut(valid, 8), "missing IHDR"},
      {"CRC of IDAT", WithFlippedByte(valid, iend - 1), "chunk CRC mismatch"},
      {"data of IDAT under its CRC", WithFlippedByte(valid, idat + 10), "chunk CRC mismatch"},
      {"CRC of an ancillary chunk",
       WithFlippedByte(ChunkWriter().Header(2, 2, 8, 2).Chunk("tEXt", {'a', 0, 'b'}).bytes(),
                       33 + 10),
       "chunk CRC mismatch"},
      {"truncated inside IDAT", Cut(valid, idat + 12), "truncated data"},
      {"truncated inside a chunk head", Cut(valid, iend + 5), "truncated data"},
      {"no IEND", Cut(valid, iend), "missing IEND"},
      {"no IDAT", ChunkWriter().Header(2, 2, 8, 2).Chunk("IEND", {}).bytes(), "missing IDAT"},
      {"data ends before IDAT", ChunkWriter().Header(2, 2, 8, 2).bytes(), "missing IDAT"},
      {"IDAT first", ChunkWriter().Chunk("IDAT", z).Chunk("IEND", {}).bytes(), "missing IHDR"},
      {"two IHDR", ChunkWriter().Header(2, 2, 8, 2).Header(2, 2, 8, 2).bytes(), "duplicate IHDR"},
      {"IHDR after IDAT",
       ChunkWriter().Header(2, 2, 8, 2).Chunk("IDAT", z).Header(2, 2, 8, 2).bytes(),
       "duplicate IHDR"},
      {"IHDR too short", ChunkWriter().Chunk("IHDR", Cut(Header(2, 2, 8, 2), 12)).bytes(),
       "invalid IHDR length"},
      {"zero width", ChunkWriter().Chunk("IHDR", Header(0, 2, 8, 2)).bytes(), "invalid image size"},
      {"zero height", ChunkWriter().Chunk("IHDR", Header(2, 0, 8, 2)).bytes(),
       "invalid image size"},
      {"width beyond 2^31-1", ChunkWriter().Chunk("IHDR", Header(0x80000000u, 1, 8, 2)).bytes(),
       "invalid image size"},
      {"huge picture", ChunkWriter().Chunk("IHDR", Header(65536, 65536, 8, 6)).bytes(),
       "image too large"},
      {"one pixel above the limit",
       ChunkWriter().Chunk("IHDR", Header((1u << 26) + 1, 1, 8, 2)).bytes(), "image too large"},
      {"picture at the limit with a few bytes of data",
       ChunkWriter().Chunk("IHDR", Header(1u << 13, 1u << 13, 8, 2)).Chunk("IDAT", z).bytes(),
       "not enough image data"},
      {"colour type 1", ChunkWriter().Chunk("IHDR", Header(2, 2, 8, 1)).bytes(),
       "invalid colour type or bit depth"},
      {"colour type 7", ChunkWriter().Chunk("IHDR", Header(2, 2, 8, 7)).bytes(),
       "invalid colour type or bit depth"},
      {"truecolour of 4 bits", ChunkWriter().Chunk("IHDR", Header(2, 2, 4, 2)).bytes(),
       "invalid colour type or bit depth"},
      {"palette of 16 bits", ChunkWriter().Chunk("IHDR", Header(2, 2, 16, 3)).bytes(),
       "invalid colour type or bit depth"},
      {"greyscale of 3 bits", ChunkWriter().Chunk("IHDR", Header(2, 2, 3, 0)).bytes(),
       "invalid colour type or bit depth"},
      {"greyscale with alpha of 4 bits", ChunkWriter().Chunk("IHDR", Header(2, 2, 4, 4)).bytes(),
       "invalid colour type or bit depth"},
      {"compression method 1", ChunkWriter().Chunk("IHDR", Header(2, 2, 8, 2, 1)).bytes(),
       "unknown compression method"},
      {"filter method 1", ChunkWriter().Chunk("IHDR", Header(2, 2, 8, 2, 0, 1)).bytes(),
       "unknown filter method"},
      {"interlace method 2", ChunkWriter().Chunk("IHDR", Header(2, 2, 8, 2, 0, 0, 2)).bytes(),
       "unknown interlace method"},
      {"palette picture without PLTE",
       ChunkWriter().Header(2, 2, 8, 3).Chunk("IDAT", Deflate(kPaletteRows)).bytes(),
       "missing PLTE"},
      {"PLTE after IDAT",
       ChunkWriter().Header(2, 2, 8, 2).Chunk("IDAT", z).Chunk("PLTE", kPalette).bytes(),
       "misplaced PLTE"},
      {"two PLTE",
       ChunkWriter().Header(2, 2, 8, 3).Chunk("PLTE", kPalette).Chunk("PLTE", kPalette).bytes(),
       "duplicate PLTE"},
      {"PLTE of 4 bytes", ChunkWriter().Header(2, 2, 8, 3).Chunk("PLTE", {1, 2, 3, 4}).bytes(),
       "invalid palette length"},
      {"empty PLTE", ChunkWriter().Header(2, 2, 8, 3).Chunk("PLTE", {}).bytes(),
       "invalid palette length"},
      {"PLTE of 257 entries", ChunkWriter().Header(2, 2, 8, 3).Chunk("PLTE", Bytes(771, 7)).bytes(),
       "invalid palette length"},
      {"palette index beyond the palette",
       ChunkWriter()
           .Header(2, 2, 8, 3)
           .Chunk("PLTE", kPalette)
           .Chunk("IDAT", Deflate(Rows(kPaletteRows, 4, 2)))
           .Chunk("IEND", {})
           .bytes(),
       "palette index out of range"},
      {"palette index beyond the palette at 2 bits",
       ChunkWriter()
           .Header(2, 1, 2, 3)
           .Chunk("PLTE", kPalette)
           .Chunk("IDAT", Deflate({0, 0x30}))  // indices 0 and 3
           .Chunk("IEND", {})
           .bytes(),
       "palette index out of range"},
      {"unknown critical chunk before IDAT",
       ChunkWriter().Header(2, 2, 8, 2).Chunk("ABCD", {1}).Chunk("IDAT", z).bytes(),
       "unknown critical chunk ABCD"},
      {"unknown critical chunk after IDAT",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", z)
           .Chunk("ABCD", {})
           .Chunk("IEND", {})
           .bytes(),
       "unknown critical chunk ABCD"},
      {"chunk type with a digit", ChunkWriter().Header(2, 2, 8, 2).Chunk("AB1D", {}).bytes(),
       "invalid chunk type"},
      {"chunk length beyond 2^31-1",
       [] {
         Bytes f = ChunkWriter().Header(2, 2, 8, 2).bytes();
         const Bytes head = {0x80, 0, 0, 0, 'I', 'D', 'A', 'T', 0, 0, 0, 0};
         f.insert(f.end(), head.begin(), head.end());
         return f;
       }(),
       "chunk length out of range"},
      {"IEND before IDAT",
       ChunkWriter().Header(2, 2, 8, 2).Chunk("IEND", {}).Chunk("IDAT", z).bytes(), "missing IDAT"},
      {"IDAT chunks apart",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Bytes(z.begin(), z.begin() + 4))
           .Chunk("tEXt", {'a', 0, 'b'})
           .Chunk("IDAT", Bytes(z.begin() + 4, z.end()))
           .Chunk("IEND", {})
           .bytes(),
       "not enough image data"},
      {"IDAT after the image is complete",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", z)
           .Chunk("tEXt", {'a', 0, 'b'})
           .Chunk("IDAT", {})
           .Chunk("IEND", {})
           .bytes(),
       "IDAT chunks not consecutive"},
      {"half the rows",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Deflate(Cut(kRgbRows, 7)))
           .Chunk("IEND", {})
           .bytes(),
       "not enough image data"},
      {"all rows but one byte",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Deflate(Cut(kRgbRows, 13)))
           .Chunk("IEND", {})
           .bytes(),
       "not enough image data"},
      {"IDAT cut short, then IEND",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Bytes(z.begin(), z.begin() + 6))
           .Chunk("IEND", {})
           .bytes(),
       "not enough image data"},
      {"filter type 5",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Deflate(Rows(kRgbRows, 7, 5)))
           .Chunk("IEND", {})
           .bytes(),
       "bad filter type"},
      {"filter type 255",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", Deflate(Rows(kRgbRows, 0, 255)))
           .Chunk("IEND", {})
           .bytes(),
       "bad filter type"},
      {"not a zlib stream",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", {1, 2, 3, 4, 5, 6, 7, 8})
           .Chunk("IEND", {})
           .bytes(),
       "compression error"},
      {"broken deflate block",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF})
           .Chunk("IEND", {})
           .bytes(),
       "compression error"},
      {"preset dictionary",
       ChunkWriter()
           .Header(2, 2, 8, 2)
           .Chunk("IDAT", {0x78, 0xBB, 0, 0, 0, 1, 3, 0})
           .Chunk("IEND", {})
           .bytes(),
       "compression error"},
      {"compression method 7", WithStreamHeader(0x77, 0x09), "compression error"},
      {"window of 64 KB", WithStreamHeader(0x88, 0x1C), "compression error"},
      {"stream checksum", WrongAdler(false), "compression error"},
      {"stream checksum over one-byte chunks", WrongAdler(true), "compression error"},
  };
}

TEST(PngDecoderErrors, RefusesBrokenFiles) {
  for (const BrokenCase& c : BrokenCases()) {
    SCOPED_TRACE(c.name);
    try {
      DecodePng(c.file);
      ADD_FAILURE() << "decoded";
    } catch (const DecodeError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

struct AcceptedCase {
  const char* name;
  Bytes file;
};

// What a reader may skip or must put up with; each decodes to the valid
// file's pixels.
std::vector<AcceptedCase> AcceptedCases() {
  const Bytes z = Deflate(kRgbRows);
  ChunkWriter split;
  split.Header(2, 2, 8, 2).Chunk("IDAT", {});
  for (uint8_t b : z) split.Chunk("IDAT", {b});
  split.Chunk("IDAT", {}).Chunk("IEND", {});
  Bytes trailing = ValidRgb();
  trailing.insert(trailing.end(), {1, 2, 3});
  Bytes longer = kRgbRows;
  longer.insert(longer.end(), 100, 9);
  return {
      {"IDAT in one-byte chunks and empty ones", split.bytes()},
      {"bytes after IEND", trailing},
      {"unknown ancillary chunks", ChunkWriter()
                                       .Header(2, 2, 8, 2)
                                       .Chunk("teSt", {1})
                                       .Chunk("IDAT", z)
                                       .Chunk("zzZz", {})
                                       .Chunk("IEND", {})
                                       .bytes()},
      {"more image data than rows",
       ChunkWriter().Header(2, 2, 8, 2).Chunk("IDAT", Deflate(longer)).Chunk("IEND", {}).bytes()},
      {"stream with half its checksum", ChunkWriter()
                                            .Header(2, 2, 8, 2)
                                            .Chunk("IDAT", Bytes(z.begin(), z.end() - 2))
                                            .Chunk("IEND", {})
                                            .bytes()},
      {"stream without its checksum", ChunkWriter()
                                          .Header(2, 2, 8, 2)
                                          .Chunk("IDAT", Bytes(z.begin(), z.end() - 4))
                                          .Chunk("IEND", {})
                                          .bytes()},
      {"gAMA of 0", ChunkWriter()
                        .Header(2, 2, 8, 2)
                        .Chunk("gAMA", Big32(0))
                        .Chunk("IDAT", z)
                        .Chunk("IEND", {})
                        .bytes()},
      {"gAMA after PLTE", ChunkWriter()
                              .Header(2, 2, 8, 2)
                              .Chunk("PLTE", kPalette)
                              .Chunk("gAMA", Big32(100000))
                              .Chunk("IDAT", z)
                              .Chunk("IEND", {})
                              .bytes()},
      {"gAMA of 3 bytes", ChunkWriter()
                              .Header(2, 2, 8, 2)
                              .Chunk("gAMA", {0, 1, 0x86})
                              .Chunk("IDAT", z)
                              .Chunk("IEND", {})
                              .bytes()},
      {"tRNS of the wrong length", ChunkWriter()
                                       .Header(2, 2, 8, 2)
                                       .Chunk("tRNS", {0, 10, 0, 20})
                                       .Chunk("IDAT", z)
                                       .Chunk("IEND", {})
                                       .bytes()},
      {"suggested palette of a truecolour picture", ChunkWriter()
                                                        .Header(2, 2, 8, 2)
                                                        .Chunk("PLTE", {1, 2})
                                                        .Chunk("IDAT", z)
                                                        .Chunk("IEND", {})
                                                        .bytes()},
  };
}

TEST(PngDecoderErrors, AcceptsWhatMayBeSkipped) {
  const Picture expected = DecodePng(ValidRgb());
  ASSERT_FALSE(expected.hasAlpha);
  ASSERT_EQ(expected.bgra, Bytes({30, 20, 10, 0, 60, 50, 40, 0, 90, 80, 70, 0, 120, 110, 100, 0}));
  for (const AcceptedCase& c : AcceptedCases()) {
    SCOPED_TRACE(c.name);
    try {
      const Picture p = DecodePng(c.file);
      EXPECT_EQ(p.width, 2);
      EXPECT_EQ(p.height, 2);
      EXPECT_FALSE(p.hasAlpha);
      EXPECT_EQ(p.bgra, expected.bgra);
    } catch (const DecodeError& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

}  // namespace
}  // namespace nestova::imagelist
