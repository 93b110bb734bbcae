// WorkerWakeUp: how the network workers (fetch, upload) tell the main loop that they have
// finished, so that a loop asleep until the next input wakes and shows the result at once.
// The shell installs its wake-up function at launch, before any worker runs, and removes it
// after the workers are gone; a worker calls notify() as its last step, on its own thread.
#pragma once

class WorkerWakeUp {
 public:
  // `wake` must be safe to call from any thread; nullptr removes it.
  static void install(void (*wake)());
  // Calls the installed function, if any. Any thread.
  static void notify();
};
