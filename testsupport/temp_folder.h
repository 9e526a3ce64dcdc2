// A test aid: a fresh, empty folder of the test's own in the system's temporary folder, removed
// with everything in it when the object goes, also when the test fails. Use it as a member of a
// fixture or a local variable, or derive a fixture from it next to ::testing::Test:
//
//   class MyTest : public ::testing::Test {
//    protected:
//     kelvox::testing::TempFolder folder_{"kelvox-my"};
//   };
#pragma once

#include <string>
#include <string_view>

namespace kelvox::testing {

class TempFolder {
 public:
  // Makes "<prefix>-XXXXXX" (six random letters) in the temporary folder (TMPDIR on POSIX,
  // TEMP on Windows), readable by its owner only on POSIX. Throws std::system_error when no
  // folder can be made, which fails the test that asked for it.
  explicit TempFolder(std::string_view prefix = "kelvox-test");
  // Removes the folder and everything in it, sub-folders the test closed to its owner
  // included; never throws.
  ~TempFolder();

  // A moved-from folder is empty and removes nothing; assigning a new folder removes the old.
  TempFolder(TempFolder&& other) noexcept;
  TempFolder& operator=(TempFolder&& other) noexcept;
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing separator.
  const std::string& path() const { return path_; }
  // The path of `name` (which may hold '/') inside the folder, byte for byte; nothing is made.
  std::string PathOf(std::string_view name) const;
  // Writes `bytes` as the file `name` in the folder, replacing any file of that name, and
  // returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  void Remove() noexcept;

  std::string path_;
};

// The whole content of the file at `path`, byte for byte; "" when it cannot be read.
std::string FileText(const std::string& path);

}  // namespace kelvox::testing
