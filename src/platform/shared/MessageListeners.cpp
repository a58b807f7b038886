#include "platform/shared/MessageListeners.h"

#include <algorithm>

namespace platform::shared {

ListenerToken MessageListeners::Add(MessageListener listener) {
    auto entry = std::make_shared<Entry>();
    entry->listener = std::move(listener);
    list_->push_back(entry);
    return ListenerToken([weakList = std::weak_ptr<List>(list_),
                          weakEntry = std::weak_ptr<Entry>(entry)] {
        const std::shared_ptr<Entry> taken = weakEntry.lock();
        if (!taken) return;
        taken->off = true;
        if (const std::shared_ptr<List> list = weakList.lock())
            list->erase(std::remove(list->begin(), list->end(), taken), list->end());
    });
}

void MessageListeners::Clear() {
    for (const auto& entry : *list_) entry->off = true;
    list_->clear();
}

}  // namespace platform::shared
