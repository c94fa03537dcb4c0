#pragma once
// Blocking calls (a drive's flush can take seconds) made without freezing the windows.
#include <functional>

namespace qm::forms {

// Runs `work` on a worker thread and returns when it has ended, processing the window system's
// events meanwhile (paints, timers: animations keep moving) but not the user's input, which
// waits until the work is done as it would behind a busy user-interface thread. An exception
// thrown by `work` is rethrown here. `work` must not touch any window. Without a running
// runtime it simply calls `work`.
void RunWhileProcessingEvents(const std::function<void()>& work);

} // namespace qm::forms
