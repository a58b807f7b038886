#pragma once
// The choices of the Options window that the scan engine reads while it runs.
namespace zorvik {

class ScanOptions {
public:
    virtual ~ScanOptions() = default;
    // "Ignore Safe Start ups": a program whose every start-up entry is disabled is not listed.
    // Read at the end of every start-up search, so a change applies from the next program on.
    virtual bool IgnoreSafe() const = 0;
};

}  // namespace zorvik
