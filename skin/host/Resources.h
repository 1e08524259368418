#pragma once
// The program's own resources (pictures and other data it carries inside
// itself), found by name. The application installs a lookup at start-up that
// reads them from wherever it keeps them; the library asks through
// FindProgramResource and never learns where they live.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace ostrel::host {

class IResourceLookup {
 public:
  virtual ~IResourceLookup() = default;
  // The resource's bytes, or nothing when there is none of that name.
  // Names compare without regard to the letter case of ASCII letters, so
  // "bg" finds a resource stored as BG.
  virtual std::optional<QByteArray> FindResource(const QString& AName) const = 0;
};

// What the installed lookup finds; nothing while none is installed.
std::optional<QByteArray> FindProgramResource(const QString& AName);

// Makes ALookup the program's resources for as long as the scope lives, and
// the one installed before it afterwards. ALookup is not owned and must
// outlive the scope.
class ScopedResourceLookup {
 public:
  explicit ScopedResourceLookup(const IResourceLookup& ALookup);
  ~ScopedResourceLookup();
  ScopedResourceLookup(const ScopedResourceLookup&) = delete;
  ScopedResourceLookup& operator=(const ScopedResourceLookup&) = delete;

 private:
  const IResourceLookup* FPrevious;
};

// Resources found through a function, for a program whose resources are
// reached through an interface of its own (the setup's resource bundle).
class FunctionResourceLookup : public IResourceLookup {
 public:
  using Finder = std::function<std::optional<QByteArray>(const QString& AName)>;
  explicit FunctionResourceLookup(Finder AFinder) : FFinder(std::move(AFinder)) {}
  std::optional<QByteArray> FindResource(const QString& AName) const override;

 private:
  Finder FFinder;
};

// Resources held in memory: for tests, and for programs that make their
// resources at run time. Counts the look-ups, so a test can tell whether a
// cache asked again.
class MemoryResourceLookup : public IResourceLookup {
 public:
  // Replaces a resource of the same name (whatever its letter case).
  void Add(const QString& AName, const QByteArray& ABytes);
  std::optional<QByteArray> FindResource(const QString& AName) const override;
  int LookupCount() const { return FLookupCount; }

 private:
  QHash<QString, QByteArray> FResources;  // key: name with ASCII letters in upper case
  mutable int FLookupCount = 0;
};

// The name as resource lookups compare it: ASCII letters in upper case, all
// other characters as they are.
QString ResourceKey(const QString& AName);

}  // namespace ostrel::host
