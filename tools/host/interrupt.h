// Ctrl-C during a poll or a scan: finish the transaction under way, end the
// driver instance, and report what was done.
#ifndef TCUDV_HOST_INTERRUPT_H
#define TCUDV_HOST_INTERRUPT_H

#include <cstdint>

namespace tcudv::host {

void CatchInterrupt();
bool Interrupted();

// Waits ms milliseconds, or less when interrupted.
void WaitUnlessInterrupted(uint32_t ms);

}  // namespace tcudv::host

#endif
