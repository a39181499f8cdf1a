#pragma once

namespace kestrova::cli {

// Ctrl-C (SIGINT) and SIGTERM ask the running job to stop. The handler only records the
// signal; the main loop cancels the job and waits for its end. A second signal of the same
// kind ends the process at once, for a job that will not stop.
namespace StopSignal {

void Install();
// The signal received since Install, or 0.
int Received();

}  // namespace StopSignal

}  // namespace kestrova::cli
