#include "testsupport/temp_folder.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <random>
#else
#include <stdlib.h>
#endif

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// Creates a new folder named `base` plus six random letters; its path.
std::string MakeUniqueFolder(const std::string& base) {
#ifdef _WIN32
  // No mkdtemp here: random names are tried until one is new (create_directory is false for a
  // name that exists).
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = base;
    for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    if (fs::create_directory(name)) return name;
  }
  throw std::system_error(std::make_error_code(std::errc::file_exists), base + "XXXXXX");
#else
  std::vector<char> name(base.begin(), base.end());
  name.insert(name.end(), {'X', 'X', 'X', 'X', 'X', 'X', '\0'});
  if (mkdtemp(name.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), base + "XXXXXX");
  }
  return name.data();
#endif
}

// Gives the owner every right on `folder` and on each folder below it, so that all of it can
// be listed and removed; on Windows also on each file, which is not removed while read-only.
// Never through a symbolic link, and on POSIX never on a file, which may be a hard link to one
// outside the folder.
void OpenToOwner(const fs::path& folder) {
  std::error_code ignored;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (fs::directory_iterator it(folder, ignored), end; it != end; it.increment(ignored)) {
    const fs::file_type type = it->symlink_status(ignored).type();
    if (type == fs::file_type::directory) {
      OpenToOwner(it->path());
    } else if (kWindows && type != fs::file_type::symlink) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
}

}  // namespace

TempFolder::TempFolder(std::string_view prefix) {
  std::string base = fs::temp_directory_path().string();
  while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
  path_ = MakeUniqueFolder(base + "/" + std::string(prefix) + "-");
}

TempFolder::~TempFolder() { Remove(); }

TempFolder::TempFolder(TempFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TempFolder& TempFolder::operator=(TempFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

std::string TempFolder::PathOf(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = PathOf(name);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void TempFolder::Remove() noexcept {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove_all(path_, error);
  if (error) {
    // A folder the test made unreadable or unwritable hides what is in it; open them all up
    // and try again.
    OpenToOwner(path_);
    fs::remove_all(path_, error);
  }
  path_.clear();
}

}  // namespace kelvox::testing
