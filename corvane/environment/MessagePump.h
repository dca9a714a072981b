// Runs the messages waiting on this thread while a long operation goes on, so
// the windows stay responsive and their buttons can ask it to stop.
#pragma once

#include <windows.h>

namespace corvane {

// One message taken from the queue: the dialog keys (Tab, Enter, Esc) go to
// the dialog or page that holds the focus, everything else to its window.
void DeliverMessage(MSG& message);

// Dispatches every waiting message, keyboard navigation of dialogs included.
// A quit request is not swallowed: it is posted again for the program's own
// loop, and the answer is false so the caller can stop waiting.
bool PumpMessages();

}  // namespace corvane
