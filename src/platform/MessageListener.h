#pragma once
// Listeners of a window's messages (Window::AddMessageListener). Any number may listen to one
// window, each added on its own and taken off on its own, so that a new listener neither wraps
// nor has to know the ones before it.
#include <cstdint>
#include <functional>
#include <utility>

namespace platform {

using MessageListener =
    std::function<void(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

// A listener's hold on a window: destroying or resetting the token takes the listener off at
// once, also while a message is being delivered. The token may outlive the window.
class ListenerToken {
public:
    ListenerToken() = default;
    explicit ListenerToken(std::function<void()> remove) : remove_(std::move(remove)) {}
    ListenerToken(const ListenerToken&) = delete;
    ListenerToken& operator=(const ListenerToken&) = delete;
    ListenerToken(ListenerToken&& other) noexcept : remove_(std::move(other.remove_)) {
        other.remove_ = nullptr;
    }
    ListenerToken& operator=(ListenerToken&& other) noexcept {
        if (this != &other) {
            Reset();
            remove_ = std::move(other.remove_);
            other.remove_ = nullptr;
        }
        return *this;
    }
    ~ListenerToken() { Reset(); }

    void Reset() {
        std::function<void()> remove = std::move(remove_);
        remove_ = nullptr;
        if (remove) remove();
    }
    // Whether it still holds a listener on.
    explicit operator bool() const { return remove_ != nullptr; }

private:
    std::function<void()> remove_;
};

}  // namespace platform
