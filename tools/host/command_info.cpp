#include <cstdio>
#include <cstring>
#include <string>

#include "banner_display.h"
#include "commands.h"
#include "host_run.h"
#include "line_params.h"
#include "result_words.h"

namespace tcudv::host {
namespace {

// The name field holds two texts back to back: the name and a description.
void PrintNameTexts(const char* name) {
  if (name == nullptr) {
    std::printf("name:            (none)\n");
    return;
  }
  std::printf("name:            %s\n", name);
  std::printf("description:     %s\n", name + std::strlen(name) + 1);
}

void PrintBanner(const char* banner) {
  std::printf("banner:\n");
  if (banner == nullptr) return;
  std::string shown = ReadableBanner(banner);
  std::printf("%s\n", shown.c_str());
}

}  // namespace

int RunInfo(const Options& options) {
  OpenedDriver opened = OpenDriver(options);
  if (!opened.session) return kExitRefused;
  const LdiInfo& info = opened.info;
  std::printf("driver:          %s\n", opened.path.c_str());
  PrintNameTexts(info.name);
  PrintBanner(info.banner);
  std::printf("info tag:        %u\n", static_cast<unsigned>(info.infoTag));
  std::printf("workspace size:  %u bytes\n", static_cast<unsigned>(info.workspaceSize));
  std::printf("reply time-out:  %d (%d ms)\n", static_cast<int>(info.defaultReplyTimeout),
              static_cast<int>(info.defaultReplyTimeout) * 10);
  std::printf("line:            %s\n", DescribeLine(info.defaultLineParams).c_str());
  return kExitOk;
}

}  // namespace tcudv::host
