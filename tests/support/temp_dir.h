// A fresh directory for one test, removed with everything in it when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace vardelle::testing_files {

class TempDir {
 public:
  // create_directory is false for a name already taken, so every test gets a new one.
  TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
      const std::filesystem::path candidate =
          std::filesystem::temp_directory_path() / ("vardelle-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path = candidate;
    }
    if (path.empty()) ADD_FAILURE() << "no new temporary directory";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path / name).string(); }

  std::filesystem::path path;
};

inline void WriteBytes(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vardelle::testing_files
