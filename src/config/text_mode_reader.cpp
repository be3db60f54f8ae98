#include "config/text_mode_reader.h"

namespace tcudv {
namespace {

constexpr int kEndOfFileMark = 0x1A;

}  // namespace

int TextModeReader::NextChar() {
  if (ended) return EOF;
  int c = pending;
  pending = kNothingPending;
  if (c == kNothingPending) c = std::getc(file);
  // A read error ends the reading as the end of the file does.
  if (c == EOF || c == kEndOfFileMark) {
    ended = true;
    return EOF;
  }
  if (c != '\r') return c;
  const int next = std::getc(file);
  if (next == '\n') return '\n';
  pending = next;  // a lone CR stays in the line
  return '\r';
}

bool TextModeReader::ReadLine(char* buffer, size_t size) {
  size_t length = 0;
  while (length + 1 < size) {
    const int c = NextChar();
    if (c == EOF) break;
    buffer[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[length] = '\0';
  return length > 0;
}

}  // namespace tcudv
