// Lines of a file opened in binary mode, split the way Windows text mode splits
// them, so that the file reads the same on every platform.
#ifndef TCUDVNT_TEXT_MODE_READER_H
#define TCUDVNT_TEXT_MODE_READER_H

#include <cstddef>
#include <cstdio>

namespace tcudv {

class TextModeReader {
 public:
  explicit TextModeReader(std::FILE* file) : file(file) {}

  // As fgets: at most size - 1 characters, up to and including a line feed,
  // then a NUL. CR LF reads as LF; a byte 0x1A ends the file. False when no
  // character was left. size must be at least 2.
  bool ReadLine(char* buffer, size_t size);

 private:
  static constexpr int kNothingPending = -2;

  int NextChar();

  std::FILE* file;
  int pending = kNothingPending;
  bool ended = false;
};

}  // namespace tcudv

#endif
