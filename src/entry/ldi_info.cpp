#include "entry/ldi_info.h"

#include "entry/host_log.h"

namespace tcudv {
namespace {

constexpr size_t kBoxInner = 65;
constexpr char kBannerTitle[] = "TCUDV :  RED Lion-PLC LDI-driver (32 bit)";

constexpr FixedText<kBannerSize> MakeBanner() {
  FixedText<kBannerSize> text{};
  size_t at = 0;
  auto put = [&](char c) { text.bytes[at++] = c; };
  auto edge = [&](char left, char right) {
    put(left);
    for (size_t i = 0; i < kBoxInner; ++i) put('\xCD');
    put(right);
  };
  put('\x08');
  put('\n');
  edge('\xC9', '\xBB');
  put('\n');
  put('\xBA');
  size_t used = 0;
  for (; used < 2; ++used) put(' ');
  for (size_t i = 0; kBannerTitle[i] != '\0'; ++i, ++used) put(kBannerTitle[i]);
  for (; used < kBoxInner; ++used) put(' ');
  put('\xBA');
  put('\n');
  edge('\xC8', '\xBC');
  put('\0');
  return at == kBannerSize ? text : FixedText<kBannerSize>{};
}

}  // namespace

const char kNameText[kNameTextSize] =
    "Red Lion Controls, TCU and PCU\0Temperature Control Unit and Process Control Unit";

constexpr FixedText<kBannerSize> kBanner = MakeBanner();
static_assert(kBanner.bytes[kBannerSize - 1] == '\0' && kBanner.bytes[0] == '\x08');

int32_t GetLdiInfo(LdiCall* call) {
  auto* info = call != nullptr ? static_cast<LdiInfo*>(call->record) : nullptr;
  if (info == nullptr) return LDI_REFUSED;
  info->infoTag = 70;
  info->name = kNameText;
  info->banner = kBanner.bytes;
  info->workspaceSize = LDI_WORKSPACE_SIZE;
  info->defaultReplyTimeout = 4;
  info->defaultLineParams = LdiLineParams{9600, 7, 0, 2};
  info->unused28 = 0;
  HostLog(kLogInfo, "LDIYY> GetLdiInfo() exited");
  return LDI_OK;
}

}  // namespace tcudv
