#pragma once
// The programs the user trusts: an ordered list of texts, normally full program paths.
// Its one store is the Trusted Programs window's list box; scans only read it.
#include <cstddef>
#include <string>

namespace zorvik {

class TrustedList {
public:
    virtual ~TrustedList() = default;
    virtual std::size_t Count() const = 0;
    virtual std::string Entry(std::size_t index) const = 0;
    virtual void Append(const std::string& entry) = 0;
};

// Whether path is on the list: whole texts compared after ASCII lower-casing, nothing else.
bool IsTrusted(const TrustedList& list, const std::string& path);

}  // namespace zorvik
