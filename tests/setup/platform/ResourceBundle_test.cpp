#include "setup/platform/ResourceBundle.h"
#include "setup/platform/Crc32.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using ostrel::platform::Crc32;
using ostrel::platform::ResourceBundle;
using ostrel::platform::ResourceBundleWriter;
using Bytes = std::vector<std::byte>;
using State = ResourceBundle::State;

constexpr std::size_t kFooter = 40;

Bytes ToBytes(std::string_view s) {
  const auto bytes = std::as_bytes(std::span(s));
  return {bytes.begin(), bytes.end()};
}

std::string ToString(std::span<const std::byte> b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }

// A program followed by a bundle of VER "2.0", 7ZA and PAK.
Bytes PackedProgram(std::string_view version = "2.0") {
  Bytes file = ToBytes("\x7f" "ELF pretend program bytes");
  ResourceBundleWriter w([&](std::span<const std::byte> b) { file.insert(file.end(), b.begin(), b.end()); });
  w.AddEntry("VER", ToBytes(version));
  w.AddEntry("7ZA", ToBytes("extractor program"));
  w.AddEntry("PAK", ToBytes(std::string(1000, 'p')));
  w.Finish();
  return file;
}

std::uint64_t Get(const Bytes& b, std::size_t at, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= static_cast<std::uint64_t>(b[at + i]) << (8 * i);
  return v;
}

void Put(Bytes& b, std::size_t at, std::size_t width, std::uint64_t v) {
  for (std::size_t i = 0; i < width; ++i) b[at + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
}

std::size_t FooterAt(const Bytes& b) { return b.size() - kFooter; }
std::size_t IndexAt(const Bytes& b) { return FooterAt(b) - Get(b, FooterAt(b) + 8, 8); }

// Recomputes the index checksum, so a test reaches the check behind it.
void Reseal(Bytes& b) {
  Crc32 crc;
  crc.Update(std::span(b).subspan(IndexAt(b), FooterAt(b) - IndexAt(b)));
  crc.Update(std::span(b).subspan(FooterAt(b), 28));
  Put(b, FooterAt(b) + 28, 4, crc.Value());
}

// Index records in PackedProgram: VER at 0 (25 bytes), 7ZA at 25, PAK at 50.
constexpr std::size_t kSecondRecord = 25;
constexpr std::size_t kThirdRecord = 50;

TEST(ResourceBundleTest, FindsEachResourceIgnoringLetterCase) {
  const Bytes file = PackedProgram();
  const auto bundle = ResourceBundle::Parse(file);
  ASSERT_EQ(bundle.GetState(), State::Valid) << bundle.Problem();
  EXPECT_EQ(bundle.ProgramSize(), 26u);
  ASSERT_EQ(bundle.Entries().size(), 3u);

  for (const char* name : {"ver", "VER", "Ver", "vEr"}) {
    const auto ver = bundle.Find(name);
    ASSERT_TRUE(ver) << name;
    EXPECT_EQ(ToString(*ver), "2.0");
  }
  EXPECT_EQ(ToString(*bundle.Find("7za")), "extractor program");
  EXPECT_EQ(bundle.Find("Pak")->size(), 1000u);
  for (const char* name : {"bg", "", "VE", "VERX", "ver "}) EXPECT_FALSE(bundle.Find(name)) << '"' << name << '"';
}

TEST(ResourceBundleTest, VersionTextIsKeptByteForByte) {
  for (std::string_view version : {"2.1", "", " 2.0\n", "版本"}) {
    const Bytes file = PackedProgram(version);
    const auto ver = ResourceBundle::Parse(file).Find("ver");
    ASSERT_TRUE(ver);
    EXPECT_EQ(ToString(*ver), version);
  }
}

TEST(ResourceBundleTest, ProgramWithoutBundleFindsNothing) {
  for (const Bytes& file : {Bytes{}, ToBytes("short"), ToBytes(std::string(200, 'x'))}) {
    const auto bundle = ResourceBundle::Parse(file);
    EXPECT_EQ(bundle.GetState(), State::Absent);
    EXPECT_EQ(bundle.ProgramSize(), file.size());
    EXPECT_FALSE(bundle.Find("ver"));
  }
}

struct Damage {
  const char* what;
  std::function<void(Bytes&)> apply;
  State expected;
};

void PrintTo(const Damage& d, std::ostream* out) { *out << d.what; }

class DamagedBundleTest : public testing::TestWithParam<Damage> {};

TEST_P(DamagedBundleTest, FindsNoResourceAtAll) {
  Bytes file = PackedProgram();
  GetParam().apply(file);
  const auto bundle = ResourceBundle::Parse(file);
  EXPECT_EQ(bundle.GetState(), GetParam().expected) << bundle.Problem();
  if (GetParam().expected == State::Damaged) {
    EXPECT_FALSE(bundle.Problem().empty());
  }
  for (const char* name : {"ver", "7za", "pak"}) EXPECT_FALSE(bundle.Find(name)) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedBundleTest,
    testing::Values(
        Damage{"magic altered", [](Bytes& b) { b.back() = std::byte{'X'}; }, State::Absent},
        Damage{"last byte cut off", [](Bytes& b) { b.pop_back(); }, State::Absent},
        Damage{"front of the file cut off", [](Bytes& b) { b.erase(b.begin(), b.begin() + 40); }, State::Damaged},
        Damage{"format version", [](Bytes& b) { Put(b, FooterAt(b), 4, 2); Reseal(b); }, State::Damaged},
        Damage{"flags", [](Bytes& b) { Put(b, FooterAt(b) + 24, 4, 1); Reseal(b); }, State::Damaged},
        Damage{"bundle larger than the file", [](Bytes& b) { Put(b, FooterAt(b) + 16, 8, b.size() + 1); }, State::Damaged},
        Damage{"bundle smaller than a footer", [](Bytes& b) { Put(b, FooterAt(b) + 16, 8, 39); }, State::Damaged},
        Damage{"index larger than the bundle", [](Bytes& b) { Put(b, FooterAt(b) + 8, 8, ~0ull); }, State::Damaged},
        Damage{"entry count past the index", [](Bytes& b) { Put(b, FooterAt(b) + 4, 4, 4); Reseal(b); }, State::Damaged},
        Damage{"entry count huge", [](Bytes& b) { Put(b, FooterAt(b) + 4, 4, 0xFFFFFFFF); }, State::Damaged},
        Damage{"bytes after the last record", [](Bytes& b) { Put(b, FooterAt(b) + 4, 4, 2); Reseal(b); }, State::Damaged},
        Damage{"index checksum", [](Bytes& b) { b[IndexAt(b) + 22] = std::byte{'W'}; }, State::Damaged},
        Damage{"footer checksum field", [](Bytes& b) { b[FooterAt(b) + 28] ^= std::byte{1}; }, State::Damaged},
        Damage{"entry size past the index",
               [](Bytes& b) { Put(b, IndexAt(b) + kThirdRecord + 8, 8, 1001 + 20); Reseal(b); }, State::Damaged},
        Damage{"entry offset past the index",
               [](Bytes& b) { Put(b, IndexAt(b) + kSecondRecord, 8, 5000); Reseal(b); }, State::Damaged},
        Damage{"entry offset plus size wraps around",
               [](Bytes& b) { Put(b, IndexAt(b) + kSecondRecord, 8, ~0ull - 2); Reseal(b); }, State::Damaged},
        Damage{"name runs past the index",
               [](Bytes& b) { Put(b, IndexAt(b) + kThirdRecord + 20, 2, 200); Reseal(b); }, State::Damaged},
        Damage{"empty name", [](Bytes& b) { Put(b, IndexAt(b) + kThirdRecord + 20, 2, 0); Reseal(b); }, State::Damaged},
        Damage{"name with a control character", [](Bytes& b) { b[IndexAt(b) + 22] = std::byte{0}; Reseal(b); }, State::Damaged},
        Damage{"same name twice in another case", [](Bytes& b) {
                 std::memcpy(&b[IndexAt(b) + kSecondRecord + 22], "vEr", 3);
                 Reseal(b);
               }, State::Damaged}),
    [](const testing::TestParamInfo<Damage>& info) {
      std::string n;
      for (const char* c = info.param.what; *c; ++c) n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return n;
    });

TEST(ResourceBundleTest, DamagedEntryBytesHideOnlyThatEntry) {
  Bytes file = PackedProgram();
  const auto bundle0 = ResourceBundle::Parse(file);
  const auto pak = bundle0.Locate("pak")->bytes;
  file[static_cast<std::size_t>(pak.data() - file.data()) + 500] = std::byte{'q'};

  const auto bundle = ResourceBundle::Parse(file);
  ASSERT_EQ(bundle.GetState(), State::Valid);
  EXPECT_FALSE(bundle.Find("pak"));
  ASSERT_NE(bundle.Locate("pak"), nullptr);
  EXPECT_NE(Crc32::Of(bundle.Locate("pak")->bytes), bundle.Locate("pak")->crc);
  EXPECT_EQ(ToString(*bundle.Find("ver")), "2.0");
}

TEST(ResourceBundleTest, AnEmptyBundleAndAnEmptyEntryAreValid) {
  Bytes file = ToBytes("prog");
  ResourceBundleWriter w([&](std::span<const std::byte> b) { file.insert(file.end(), b.begin(), b.end()); });
  w.AddEntry("EMPTY", {});
  w.Finish();
  const auto bundle = ResourceBundle::Parse(file);
  ASSERT_EQ(bundle.GetState(), State::Valid);
  ASSERT_TRUE(bundle.Find("empty"));
  EXPECT_TRUE(bundle.Find("empty")->empty());

  Bytes bare = ToBytes("prog");
  ResourceBundleWriter none([&](std::span<const std::byte> b) { bare.insert(bare.end(), b.begin(), b.end()); });
  none.Finish();
  EXPECT_EQ(ResourceBundle::Parse(bare).GetState(), State::Valid);
  EXPECT_EQ(ResourceBundle::Parse(bare).ProgramSize(), 4u);
}

TEST(ResourceBundleWriterTest, RefusesNamesALookupCouldNotTellApart) {
  ResourceBundleWriter w([](std::span<const std::byte>) {});
  w.AddEntry("VER", {});
  EXPECT_THROW(w.BeginEntry("ver"), std::invalid_argument);
  for (const std::string& bad : {std::string(), std::string("A=B"), std::string("two words"), std::string(256, 'N'),
                                 std::string("caf\xc3\xa9")}) {
    EXPECT_THROW(w.BeginEntry(bad), std::invalid_argument) << bad;
  }
  EXPECT_NO_THROW(w.AddEntry(std::string(255, 'N'), {}));
  EXPECT_THROW(w.Write({}), std::logic_error);
  w.BeginEntry("OPEN");
  EXPECT_THROW(w.Finish(), std::logic_error);
}

// Aligned entries start on the asked boundary of the whole file, whatever
// the program before the bundle, with zeros in the gap; the bundle still
// reads back entry for entry.
TEST(ResourceBundleWriterTest, AlignsEntriesWithinTheWholeFile) {
  for (const std::size_t programSize : {std::size_t{0}, std::size_t{1}, std::size_t{26}, std::size_t{4096}}) {
    Bytes file(programSize, std::byte{0x7f});
    ResourceBundleWriter w([&](std::span<const std::byte> b) { file.insert(file.end(), b.begin(), b.end()); },
                           programSize);
    w.AddEntry("VER", ToBytes("2.0"));
    w.BeginEntry("7ZA", 4096);
    w.Write(ToBytes("extractor"));
    w.EndEntry();
    w.BeginEntry("PAK", 4096);
    w.Write(ToBytes(std::string(5000, 'p')));
    w.EndEntry();
    w.Finish();

    const auto bundle = ResourceBundle::Parse(file);
    ASSERT_EQ(bundle.GetState(), State::Valid) << bundle.Problem();
    EXPECT_EQ(bundle.ProgramSize(), programSize);
    EXPECT_EQ(ToString(*bundle.Find("ver")), "2.0");
    EXPECT_EQ(ToString(*bundle.Find("7za")), "extractor");
    EXPECT_EQ(ToString(*bundle.Find("pak")), std::string(5000, 'p'));
    for (const char* name : {"7za", "pak"}) {
      const auto offset = static_cast<std::size_t>(bundle.Find(name)->data() - file.data());
      EXPECT_EQ(offset % 4096, 0u) << name << " after a program of " << programSize;
    }
    const auto verEnd = static_cast<std::size_t>(bundle.Find("ver")->data() - file.data()) + 3;
    const auto extractorAt = static_cast<std::size_t>(bundle.Find("7za")->data() - file.data());
    for (std::size_t at = verEnd; at < extractorAt; ++at) ASSERT_EQ(file[at], std::byte{0}) << at;
  }
  ResourceBundleWriter w([](std::span<const std::byte>) {});
  for (const std::size_t bad : {std::size_t{0}, std::size_t{3}, std::size_t{4095}}) {
    EXPECT_THROW(w.BeginEntry("PAK", bad), std::invalid_argument) << bad;
  }
}

TEST(Crc32Test, MatchesTheStandardCheckValue) {
  EXPECT_EQ(Crc32::Of(ToBytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Crc32::Of({}), 0u);
  // Pieces of any length give the checksum of the whole.
  const Bytes text = ToBytes("The quick brown fox jumps over the lazy dog, twice over and over");
  Crc32 pieces;
  for (std::size_t at = 0, step = 1; at < text.size(); at += step, step += 2)
    pieces.Update(std::span(text).subspan(at, std::min(step, text.size() - at)));
  EXPECT_EQ(pieces.Value(), Crc32::Of(text));
}

// Long inputs take the processor's folding path where it has one; every
// length around its 64- and 16-byte steps, at every alignment, and pieces
// split across them must agree with the byte tables.
TEST(Crc32Test, FoldingPathAgreesWithTheTables) {
  Bytes data(4096 + 64);
  std::uint32_t seed = 12345;
  for (std::byte& b : data) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::byte>(seed >> 23);
  }
  const std::span<const std::byte> all(data);
  EXPECT_EQ(Crc32::Of(ToBytes(std::string(64, 'a'))), 0x89B46555u) << "a known value at the first folded length";
  for (std::size_t offset = 0; offset < 16; ++offset) {
    for (std::size_t length = 0; length <= 300; ++length) {
      const auto piece = all.subspan(offset, length);
      ASSERT_EQ(Crc32::Of(piece), Crc32::PortableOf(piece)) << "offset " << offset << " length " << length;
    }
  }
  EXPECT_EQ(Crc32::Of(all), Crc32::PortableOf(all));
  Crc32 pieces;
  for (std::size_t at = 0, step = 1; at < all.size(); at += step, step = step * 3 + 7)
    pieces.Update(all.subspan(at, std::min(step, all.size() - at)));
  EXPECT_EQ(pieces.Value(), Crc32::PortableOf(all));
}

}  // namespace
