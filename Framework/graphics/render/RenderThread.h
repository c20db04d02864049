#pragma once
// Where the GL context lives. The graphics code runs GL calls only on the thread that
// made the context current (the main thread); other threads hand GL work to it through
// the pumped work queue. Start-up marks the thread once the context is current and hands
// over the queue once it exists; shutdown takes the queue back before deleting it and
// reports the context lost before destroying it, after which GL work is skipped.

#include "Framework/core/threads/WorkQueue.h"

namespace zor {

// On the thread whose GL context is current; the context counts as alive from here on.
void markRenderThread();
// The queue that the render thread pumps; null takes it back. Main thread only.
void setRenderQueue(IWorkQueue* queue);
// The context is about to go: GL objects released from now on are not deleted.
void markRenderContextLost();

bool isRenderThread();
bool renderContextAlive();
// Posts the job to the render thread's queue; drops it when there is no queue.
// Returns whether it was posted. Any thread.
bool postToRenderThread(IWorkQueue::Job job);

} // namespace zor
