#include "result_words.h"

#include "entry/ldi.h"

namespace tcudv::host {

std::string ResultWords(int32_t result) {
  switch (result) {
    case LDI_OK:
      return "ok";
    case LDI_REFUSED:
      return "refused (result 1)";
    case LDI_FAILED:
      return "line failure (result 2)";
    default:
      return "unexpected result " + std::to_string(result);
  }
}

int ExitCodeFor(int32_t result) {
  switch (result) {
    case LDI_OK:
      return kExitOk;
    case LDI_REFUSED:
      return kExitRefused;
    default:
      return kExitLineFailure;
  }
}

int CombineExitCodes(int a, int b) {
  if (a == kExitLineFailure || b == kExitLineFailure) return kExitLineFailure;
  if (a == kExitRefused || b == kExitRefused) return kExitRefused;
  return kExitOk;
}

}  // namespace tcudv::host
