#pragma once
// Running and draining the message queue of the user-interface thread.
namespace kelvo::win {

// Dispatches every message that is waiting, as long handlers do between steps so
// the windows stay responsive. A quit request seen here is put back for the
// main loop.
void processPendingMessages();
int runMessageLoop();

} // namespace kelvo::win
