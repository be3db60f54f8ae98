// A file read as raw bytes through the platform, not the C library's streams,
// which allocate. One implementation is linked in: POSIX or Win32.
#ifndef TCUDVNT_READ_ONLY_FILE_H
#define TCUDVNT_READ_ONLY_FILE_H

#include <cstddef>
#include <cstdint>

namespace tcudv {

using FileHandle = intptr_t;
inline constexpr FileHandle kNoFile = -1;

// Opens an existing file for reading; kNoFile when it does not open.
FileHandle OpenForReading(const char* name);
// Up to size bytes; 0 at the end of the file or on a read error.
size_t ReadBytes(FileHandle file, char* buffer, size_t size);
void CloseFile(FileHandle file);

}  // namespace tcudv

#endif
