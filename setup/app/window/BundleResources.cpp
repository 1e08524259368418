#include "setup/app/window/BundleResources.h"

namespace ostrel::app {

host::FunctionResourceLookup::Finder BundleFinder(ResourceFinder resources) {
  return [resources = std::move(resources)](const QString& name) -> std::optional<QByteArray> {
    if (!resources) return std::nullopt;
    const QByteArray utf8 = name.toUtf8();
    const auto bytes = resources(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!bytes) return std::nullopt;
    return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size()));
  };
}

}  // namespace ostrel::app
