#pragma once
// The verdict facts of program files kept between scans (the timer's, the watch's), keyed by
// path, size and last write time, so that a file unchanged since is not read or verified again.
namespace zorvik {

class VerdictCache;

}  // namespace zorvik
