#pragma once
// What a listed row needs beside the scan's own findings to tell a bot from a harmless
// program: Task Manager's verdict on each start-up hit and the program file's facts. Read
// after the scan, for the listed rows only.
#include "core/engine/process/ProcessList.h"
#include "platform/System.h"

namespace zorvik {

void AddEvidence(platform::System& sys, ProcessList& list);

}  // namespace zorvik
