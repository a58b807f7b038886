#pragma once
// The listeners of one window's messages, in the order they were added. A listener taken off
// while a message is delivered does not hear the rest of that message; one added meanwhile
// hears the next.
#include <memory>
#include <vector>

#include "platform/MessageListener.h"

namespace platform::shared {

class MessageListeners {
public:
    MessageListeners() = default;
    MessageListeners(const MessageListeners&) = delete;
    MessageListeners& operator=(const MessageListeners&) = delete;
    ~MessageListeners() { Clear(); }

    ListenerToken Add(MessageListener listener);

    // Runs fire(listener) for each listener on now; fire is the platform's way of running an
    // event handler.
    template <class FireOne>
    void Deliver(FireOne&& fire) const {
        // A copy: a listener may add or take off listeners, or end the window, meanwhile.
        const List now = *list_;
        for (const auto& entry : now)
            if (!entry->off) fire(entry->listener);
    }

    // From now on none hears; their tokens stay harmless.
    void Clear();

private:
    struct Entry {
        MessageListener listener;
        bool off = false;
    };
    using List = std::vector<std::shared_ptr<Entry>>;

    // Shared with the tokens only weakly, so a token that outlives its window does nothing.
    std::shared_ptr<List> list_ = std::make_shared<List>();
};

}  // namespace platform::shared
