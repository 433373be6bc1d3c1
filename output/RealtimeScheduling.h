#pragma once

#include <sys/types.h>

// Real-time scheduling for one thread of this process: first asked of the kernel directly
// (SCHED_FIFO, which needs the right to it), else of the desktop's RealtimeKit service on the
// system bus, which grants it to a normal user's audio threads within limits of its own. Any
// thread may call it, never the audio callback: the request over the bus blocks for a moment.

// How a request ended.
enum class RealtimeGrant { Kernel, RealtimeKit, Refused };

// Asks for SCHED_FIFO at `priority` (clamped to what the service allows) for the thread
// `threadId` of this process. Refused leaves the thread as it was; nothing is reported.
RealtimeGrant MakeThreadRealtime(pid_t threadId, int priority);

// The kernel's id of the calling thread.
pid_t CurrentThreadId();
