// A fresh empty directory made the process's current one, removed at exit, so
// that the driver's initialisation file is the fuzzer's own and nothing else.
#ifndef TCUDVNT_FUZZ_SCRATCH_DIRECTORY_H
#define TCUDVNT_FUZZ_SCRATCH_DIRECTORY_H

namespace tcudv::fuzz {

// Aborts when the directory cannot be made.
void EnterScratchDirectory();

// Writes the bytes as the file of that name in the scratch directory.
void WriteScratchFile(const char* name, const void* bytes, unsigned long size);

}  // namespace tcudv::fuzz

#endif
