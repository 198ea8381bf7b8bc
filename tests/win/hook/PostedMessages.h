#pragma once
// A hidden window that records what is posted to it, and waiting for a condition
// while the test thread's messages are pumped (the hooks post to this thread).
#include <windows.h>

#include <functional>
#include <vector>

namespace kelvo::test {

struct PostedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageSink {
  public:
    MessageSink();
    ~MessageSink();
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    HWND hwnd() const { return hwnd_; }
    // What arrived with this message number so far, in order.
    std::vector<PostedMessage> received(UINT message) const;
    // Pumps until `count` messages matching `match` have arrived or `timeoutMs`
    // has passed; true when they arrived.
    bool waitFor(UINT message, const std::function<bool(const PostedMessage&)>& match,
                 std::size_t count, DWORD timeoutMs);

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    std::vector<PostedMessage> received_;
};

// Dispatches every message waiting for this thread.
void pumpPendingMessages();
// Pumps messages until `condition` holds or `timeoutMs` has passed; true when it held.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

} // namespace kelvo::test
