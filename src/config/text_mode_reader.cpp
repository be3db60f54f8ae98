#include "config/text_mode_reader.h"

namespace tcudv {
namespace {

constexpr int kEndOfFileMark = 0x1A;

}  // namespace

int TextModeReader::NextByte() {
  if (blockAt == blockLength) {
    blockLength = ReadBytes(file, block, sizeof block);
    blockAt = 0;
    if (blockLength == 0) return kEnd;  // a read error ends the file as its end does
  }
  return static_cast<unsigned char>(block[blockAt++]);
}

int TextModeReader::NextChar() {
  if (ended) return kEnd;
  int c = pending;
  pending = kNothingPending;
  if (c == kNothingPending) c = NextByte();
  if (c == kEnd || c == kEndOfFileMark) {
    ended = true;
    return kEnd;
  }
  if (c != '\r') return c;
  const int next = NextByte();
  if (next == '\n') return '\n';
  pending = next;  // a lone CR stays in the line
  return '\r';
}

bool TextModeReader::ReadLine(char* buffer, size_t size) {
  size_t length = 0;
  while (length + 1 < size) {
    const int c = NextChar();
    if (c == kEnd) break;
    buffer[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[length] = '\0';
  return length > 0;
}

}  // namespace tcudv
