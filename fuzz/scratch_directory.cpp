#include "scratch_directory.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz_log.h"

namespace tcudv::fuzz {
namespace {

std::string scratch;

void RemoveScratch() {
  std::error_code ignored;
  if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
}

}  // namespace

void EnterScratchDirectory() {
  if (!scratch.empty()) return;
  // In memory where there is such a place: a disk file cut and written again
  // per input can cost a disk wait each time.
  for (const std::filesystem::path& base :
       {std::filesystem::path("/dev/shm"), std::filesystem::temp_directory_path()}) {
    std::string pattern = (base / "tcudvnt-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      scratch = pattern;
      break;
    }
  }
  if (scratch.empty()) Fail("no scratch directory");
  if (chdir(scratch.c_str()) != 0) Fail("cannot enter the scratch directory");
  std::atexit(RemoveScratch);
}

void WriteScratchFile(const char* name, const void* bytes, unsigned long size) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) Fail("cannot write a scratch file");
  if (size > 0 && std::fwrite(bytes, 1, size, file) != size) Fail("short scratch file");
  std::fclose(file);
}

}  // namespace tcudv::fuzz
