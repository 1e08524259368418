// Feeds arbitrary file tails to the resource bundle parser. Besides
// surviving, an accepted bundle must round-trip: writing its entries again
// and parsing the result gives the same names and bytes.

#include "setup/platform/ResourceBundle.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <cstdlib>
#include <vector>

using ostrel::platform::ResourceBundle;
using ostrel::platform::ResourceBundleWriter;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Within(std::span<const std::byte> inner, std::span<const std::byte> outer) {
  return inner.empty() || (inner.data() >= outer.data() && inner.data() + inner.size() <= outer.data() + outer.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = std::as_bytes(std::span(data, size));
  const auto bundle = ResourceBundle::Parse(file);
  if (bundle.GetState() != ResourceBundle::State::Valid) {
    for (const char* name : {"ver", "7za", "pak"}) Check(!bundle.Find(name));
    return 0;
  }
  Check(bundle.ProgramSize() <= size);

  std::vector<std::byte> again(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(bundle.ProgramSize()));
  ResourceBundleWriter writer([&](std::span<const std::byte> b) { again.insert(again.end(), b.begin(), b.end()); });
  for (const auto& entry : bundle.Entries()) {
    Check(Within(entry.bytes, file.subspan(bundle.ProgramSize())));
    Check(bundle.Locate(entry.name) == &entry);
    (void)bundle.Find(entry.name);
    writer.AddEntry(entry.name, entry.bytes);
  }
  writer.Finish();

  const auto reparsed = ResourceBundle::Parse(again);
  Check(reparsed.GetState() == ResourceBundle::State::Valid);
  Check(reparsed.Entries().size() == bundle.Entries().size());
  for (std::size_t i = 0; i < bundle.Entries().size(); ++i) {
    const auto& a = bundle.Entries()[i];
    const auto& b = reparsed.Entries()[i];
    Check(a.name == b.name);
    Check(std::equal(a.bytes.begin(), a.bytes.end(), b.bytes.begin(), b.bytes.end()));
    Check(reparsed.Find(b.name).has_value());
  }
  return 0;
}
