// A fresh empty directory made the current one for the life of the object.
#ifndef TCUDVNT_TESTS_TEMP_CURRENT_DIRECTORY_H
#define TCUDVNT_TESTS_TEMP_CURRENT_DIRECTORY_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tcudv::test {

class TempCurrentDirectory {
 public:
  TempCurrentDirectory() : previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tcudvnt-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::filesystem::filesystem_error("mkdtemp", std::make_error_code(std::errc::io_error));
    path = pattern;
    std::filesystem::current_path(path);
  }
  ~TempCurrentDirectory() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempCurrentDirectory(const TempCurrentDirectory&) = delete;
  TempCurrentDirectory& operator=(const TempCurrentDirectory&) = delete;

  // Writes the bytes exactly as given, in the current directory.
  static void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path previous;
  std::filesystem::path path;
};

}  // namespace tcudv::test

#endif
