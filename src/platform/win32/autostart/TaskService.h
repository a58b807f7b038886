#pragma once
// Task Scheduler 2.0's service object, connected to this machine as this user.
#include "platform/win32/WindowsApi.h"

#include <taskschd.h>

#include <string>

#include "platform/win32/ComObjects.h"

namespace platform::win32 {

// Empty when the scheduler cannot be created (XP) or connected to. COM must be started.
ComPtr<ITaskService> ConnectTaskService();
// The folder at path ("\" is the root); empty when it does not exist or cannot be opened.
ComPtr<ITaskFolder> TaskFolder(ITaskService& service, const std::wstring& path);

}  // namespace platform::win32
