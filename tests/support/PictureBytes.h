#pragma once
// Small picture files made in code, so tests need no fixture files: PNG and
// GIF bytes, and damaged variants of them.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QtEndian>

#include <array>
#include <cstdint>

namespace picture_bytes {

// A w x h PNG of one colour.
inline QByteArray Png(int AWidth, int AHeight, QColor AColor) {
  QImage image(AWidth, AHeight, QImage::Format_ARGB32);
  image.fill(AColor);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

inline std::uint32_t Crc32(const QByteArray& ABytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : ABytes) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void AppendPngChunk(QByteArray& ABytes, const char* AType, const QByteArray& AData) {
  std::array<char, 4> word{};
  qToBigEndian(static_cast<std::uint32_t>(AData.size()), word.data());
  ABytes.append(word.data(), 4);
  const QByteArray chunk = QByteArray(AType, 4) + AData;
  ABytes.append(chunk);
  qToBigEndian(Crc32(chunk), word.data());
  ABytes.append(word.data(), 4);
}

// A well-formed PNG declaring AWidth x AHeight whose pixel data is an empty
// stream: a file that promises a picture it does not hold.
inline QByteArray PngHeaderDeclaring(std::uint32_t AWidth, std::uint32_t AHeight) {
  QByteArray header;
  std::array<char, 4> word{};
  qToBigEndian(AWidth, word.data());
  header.append(word.data(), 4);
  qToBigEndian(AHeight, word.data());
  header.append(word.data(), 4);
  header.append("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
  AppendPngChunk(bytes, "IHDR", header);
  AppendPngChunk(bytes, "IDAT", QByteArray::fromHex("789c030000000001"));
  AppendPngChunk(bytes, "IEND", QByteArray());
  return bytes;
}

// A 1 x 1 GIF whose one pixel is white; ASignature replaces "GIF89a".
inline QByteArray Gif(const char* ASignature = "GIF89a") {
  QByteArray bytes(ASignature);
  bytes.append(QByteArray::fromHex(
      "01000100"          // 1 x 1
      "800000"            // global colour table of 2, background 0
      "000000ffffff"      // black, white
      "2c0000000001000100" "00"  // image descriptor at 0,0, 1 x 1, no local table
      "02024c0100"        // LZW minimum code size 2, one block of 2 bytes: clear, 1, end
      "3b"));
  return bytes;
}

}  // namespace picture_bytes
