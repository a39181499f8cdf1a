#pragma once

namespace kestrova::cli {

// Ctrl-C (SIGINT) and SIGTERM ask the running job to stop. The handler only records the
// signal and rings a descriptor; the main loop, asleep on that descriptor, cancels the job
// and waits for its end. A second signal of the same kind ends the process at once, for a
// job that will not stop.
namespace StopSignal {

void Install();
// The signal received since Install, or 0.
int Received();
// Readable once a signal has arrived; -1 before Install. Stays open for the whole run.
int Descriptor();

}  // namespace StopSignal

}  // namespace kestrova::cli
