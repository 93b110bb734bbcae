// Ending a child process that a test started (Xvfb, Weston): a polite SIGTERM first, then SIGKILL
// when it has not gone within a scaled deadline. Always reaps the child.
#pragma once

#include <sys/types.h>

// Stops and reaps `pid` when it is above 0, then sets it to -1.
void stopChildProcess(pid_t& pid);
