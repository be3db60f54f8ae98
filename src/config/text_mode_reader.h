// Lines of a file read as raw bytes, split the way Windows text mode splits
// them, so that the file reads the same on every platform.
#ifndef TCUDVNT_TEXT_MODE_READER_H
#define TCUDVNT_TEXT_MODE_READER_H

#include <cstddef>

#include "config/read_only_file.h"

namespace tcudv {

class TextModeReader {
 public:
  explicit TextModeReader(FileHandle file) : file(file) {}

  // As fgets: at most size - 1 characters, up to and including a line feed,
  // then a NUL. CR LF reads as LF; a byte 0x1A ends the file. False when no
  // character was left. size must be at least 2.
  bool ReadLine(char* buffer, size_t size);

 private:
  static constexpr int kEnd = -1;
  static constexpr int kNothingPending = -2;

  int NextByte();  // the file's next byte, or kEnd
  int NextChar();  // the next character as text mode gives it, or kEnd

  FileHandle file;
  char block[512];
  size_t blockLength = 0;
  size_t blockAt = 0;
  bool ended = false;
  int pending = kNothingPending;  // the byte read after a lone CR
};

}  // namespace tcudv

#endif
