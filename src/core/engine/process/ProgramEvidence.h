#pragma once
// What a listed row needs beside the scan's own findings to tell a bot from a harmless
// program: Task Manager's verdict on each start-up hit, the program file's facts, which hits
// start another file of its name, and the verdict. Read after the scan, for the listed rows
// only; the rows, their order and their details stay as the scan left them.
#include "core/engine/process/ProcessList.h"
#include "core/engine/verdict/VerdictCache.h"
#include "platform/System.h"

namespace zorvik {

// cache, when given, keeps the files' facts for the next scans (the timer's, the watch's);
// without one each file is still read once for all rows that name it.
void AddEvidence(platform::System& sys, ProcessList& list, VerdictCache* cache = nullptr);

}  // namespace zorvik
