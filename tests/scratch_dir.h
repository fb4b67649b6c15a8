// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends. Only the standard library: the tests
// that use it run on Windows and under WebAssembly too.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace torvek::testing {

class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<unsigned> counter{0};
    std::mt19937_64 random(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) +
                           counter++);
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
      path_ = base / ("torvek-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~ScratchDir() {
    std::error_code error;
    // Give back the write permission a test took away, so removal works.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(path_, error);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes of a file; the empty text for anything else.
inline std::string ReadBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A file name that no code page but Unicode holds, as UTF-8.
inline std::filesystem::path UnicodeName(const char* suffix) {
  const std::string name = std::string("Gr\xC3\xBC\xC3\x9F" "e \xE2\x9C\x93 \xE6\x97\xA5\xE6\x9C\xAC") + suffix;
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace torvek::testing
