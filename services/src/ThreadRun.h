#pragma once

namespace tessel::detail {

// What a thread keeps for itself and a pooled thread must drop between two runs, so each
// run starts as on a thread of its own.
void CloseThreadQueue();    // its message queue: later posts to it are dropped
void ForgetThreadNumber();  // its number in log lines: the next run draws a new one

inline void EndThreadRun() {
    CloseThreadQueue();
    ForgetThreadNumber();
}

}  // namespace tessel::detail
