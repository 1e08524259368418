// ostrel-pack: appends a resource bundle to a built program, so a release
// can be given a new payload or version without a compiler.
//
//   ostrel-pack --program IN --output OUT [--resource NAME=FILE]... [--resource-text NAME=TEXT]...
//   ostrel-pack --list FILE
//
// Resources are stored in the order given. A program that already carries a
// bundle has it replaced; one whose bundle is damaged is refused, since its
// end can no longer be told apart from the program. OUT may equal IN.

#include "setup/platform/ResourceBundle.h"
#include "setup/platform/ResourceBundleWriter.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ostrel::platform::ResourceBundle;
using ostrel::platform::ResourceBundleWriter;

struct Resource {
  std::string name;
  std::string value;  // a file path, or the text itself
  bool isText = false;
};

struct Options {
  std::string program;
  std::string output;
  std::string list;
  std::vector<Resource> resources;
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr std::size_t kFileResourceAlignment = 4096;

constexpr std::string_view kUsage =
    "usage: ostrel-pack --program IN --output OUT [--resource NAME=FILE]... [--resource-text NAME=TEXT]...\n"
    "       ostrel-pack --list FILE\n";

Resource SplitResource(std::string_view arg, bool isText) {
  const auto eq = arg.find('=');
  if (eq == std::string_view::npos || eq == 0) throw UsageError("expected NAME=" + std::string(isText ? "TEXT" : "FILE") + ", got \"" + std::string(arg) + "\"");
  return {std::string(arg.substr(0, eq)), std::string(arg.substr(eq + 1)), isText};
}

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (i + 1 >= argc) throw UsageError("missing value after " + std::string(a));
    const std::string_view v = argv[++i];
    if (a == "--program") {
      o.program = v;
    } else if (a == "--output") {
      o.output = v;
    } else if (a == "--list") {
      o.list = v;
    } else if (a == "--resource") {
      o.resources.push_back(SplitResource(v, false));
    } else if (a == "--resource-text") {
      o.resources.push_back(SplitResource(v, true));
    } else {
      throw UsageError("unknown option " + std::string(a));
    }
  }
  if (o.list.empty() && (o.program.empty() || o.output.empty())) throw UsageError("--program and --output are required");
  return o;
}

std::vector<std::byte> ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  std::vector<std::byte> bytes(chars.size());
  std::copy(chars.begin(), chars.end(), reinterpret_cast<char*>(bytes.data()));
  return bytes;
}

ResourceBundle ParseOrThrow(std::span<const std::byte> bytes, const std::string& path) {
  auto bundle = ResourceBundle::Parse(bytes);
  if (bundle.GetState() == ResourceBundle::State::Damaged) throw std::runtime_error(path + " carries a damaged resource bundle: " + bundle.Problem());
  return bundle;
}

int List(const std::string& path) {
  const auto bytes = ReadWhole(path);
  const auto bundle = ParseOrThrow(bytes, path);
  for (const auto& e : bundle.Entries()) std::cout << e.name << ' ' << e.bytes.size() << '\n';
  return 0;
}

void Pack(const Options& o) {
  // Check every input before touching the output.
  for (const Resource& r : o.resources) {
    if (!r.isText && !fs::is_regular_file(r.value)) throw std::runtime_error("resource file " + r.value + " is missing");
  }
  const auto program = ReadWhole(o.program);
  const auto existing = ParseOrThrow(program, o.program);

  const std::string partial = o.output + ".partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + partial);
  try {
    auto put = [&](std::span<const std::byte> b) {
      out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
      if (!out) throw std::runtime_error("cannot write " + partial);
    };
    put(std::span(program).first(existing.ProgramSize()));
    ResourceBundleWriter writer(put, existing.ProgramSize());
    std::vector<char> buffer(std::size_t{1} << 20);
    for (const Resource& r : o.resources) {
      // A file resource of a page or more starts on a page of its own: the
      // kernel then copies it out whole pages at a time (or shares them,
      // where the file system can), where an unaligned start costs half as
      // much again. Smaller ones (pictures, styles) are read in place, and a
      // page each would only pad the program.
      const bool paged = !r.isText && fs::file_size(r.value) >= kFileResourceAlignment;
      writer.BeginEntry(r.name, paged ? kFileResourceAlignment : 1);
      if (r.isText) {
        writer.Write(std::as_bytes(std::span(r.value)));
      } else {
        std::ifstream in(r.value, std::ios::binary);
        if (!in) throw std::runtime_error("cannot open " + r.value);
        while (in) {
          in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
          writer.Write(std::as_bytes(std::span(buffer.data(), static_cast<std::size_t>(in.gcount()))));
        }
        if (in.bad()) throw std::runtime_error("cannot read " + r.value);
      }
      writer.EndEntry();
    }
    writer.Finish();
    out.close();
    if (!out) throw std::runtime_error("cannot write " + partial);
    struct stat st {};
    const mode_t mode = ::stat(o.program.c_str(), &st) == 0 ? (st.st_mode & 07777) | S_IXUSR : 0755;
    fs::permissions(partial, static_cast<fs::perms>(mode));
    fs::rename(partial, o.output);
  } catch (...) {
    out.close();
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw;
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options o = ParseArguments(argc, argv);
    if (!o.list.empty()) return List(o.list);
    Pack(o);
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "ostrel-pack: " << e.what() << '\n' << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "ostrel-pack: " << e.what() << '\n';
    return 1;
  }
}
