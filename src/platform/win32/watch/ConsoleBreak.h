#pragma once
// Ctrl+C and Ctrl+Break in the console, handed to the program instead of ending it, so a
// console program that waits on a place watch can wake the wait and end in order.
#include <functional>

#include "platform/MessageListener.h"

namespace platform::win32 {

ListenerToken AddConsoleBreakHandler(std::function<void()> onBreak);

}  // namespace platform::win32
