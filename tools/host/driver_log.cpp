#include "driver_log.h"

#include <cstdio>

namespace tcudv::host {
namespace {

bool logShown = false;
DriverLogCapture* activeCapture = nullptr;

}  // namespace

void ShowDriverLog(bool shown) {
  logShown = shown;
}

void DriverLogLine(int level, const char* text) {
  if (text == nullptr) return;
  if (activeCapture != nullptr) activeCapture->lines_.emplace_back(text);
  if (logShown) std::fprintf(stderr, "[level %d] %s\n", level, text);
}

DriverLogCapture::DriverLogCapture() {
  activeCapture = this;
}

DriverLogCapture::~DriverLogCapture() {
  if (activeCapture == this) activeCapture = nullptr;
}

}  // namespace tcudv::host
