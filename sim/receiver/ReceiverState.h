// The simulated receiver's state: oscillator (LO) frequency, last tuned frequency
// and the notification callback. Read and written from the caller's thread, the
// notification worker and the window, hence atomic.
#pragma once

#include "ExtioEntryPoints.h"

#include <cstdint>

namespace receiver_state {

// Starts at EXTIO_SIM_HWLO when that is set, else 0.
int32_t lo();
// Ignored while EXTIO_SIM_HWLO fixes the LO.
void setLo(int32_t freq);
// A move by the receiver itself; it applies also to a fixed LO.
void moveLo();

int32_t tuned();
void setTuned(int32_t freq);

extio_sim::Callback callback();
void setCallback(extio_sim::Callback cb);

}  // namespace receiver_state
