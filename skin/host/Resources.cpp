#include "skin/host/Resources.h"

namespace ostrel::host {

namespace {
// Set only by ScopedResourceLookup, on the UI thread, like the rest of the
// library's process-wide state.
const IResourceLookup* gLookup = nullptr;
}  // namespace

std::optional<QByteArray> FindProgramResource(const QString& AName) {
  if (gLookup == nullptr || AName.isEmpty()) return std::nullopt;
  return gLookup->FindResource(AName);
}

ScopedResourceLookup::ScopedResourceLookup(const IResourceLookup& ALookup) : FPrevious(gLookup) { gLookup = &ALookup; }

ScopedResourceLookup::~ScopedResourceLookup() { gLookup = FPrevious; }

std::optional<QByteArray> FunctionResourceLookup::FindResource(const QString& AName) const {
  return FFinder ? FFinder(AName) : std::nullopt;
}

QString ResourceKey(const QString& AName) {
  QString key = AName;
  for (QChar& c : key) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
  }
  return key;
}

void MemoryResourceLookup::Add(const QString& AName, const QByteArray& ABytes) { FResources.insert(ResourceKey(AName), ABytes); }

std::optional<QByteArray> MemoryResourceLookup::FindResource(const QString& AName) const {
  ++FLookupCount;
  const auto found = FResources.constFind(ResourceKey(AName));
  if (found == FResources.cend()) return std::nullopt;
  return *found;
}

}  // namespace ostrel::host
