#pragma once
// Who a listed program says it comes from, in one short text for the process list: the signer
// of its signature, or else the company its version resource names, marked as such, since any
// program can write any company there.
#include <optional>
#include <string>

#include "core/engine/process/ProgramFile.h"

namespace zorvik {

// After a company name that no signature vouches for: "Contoso Ltd (unsigned)".
inline constexpr const char* kUnsignedPublisherMark = " (unsigned)";
// After the signer of a signature the system does not trust.
inline constexpr const char* kUntrustedSignerMark = " (not trusted)";

// The file's own (embedded) signature is read; empty where the system gives no file facts,
// the file cannot be read, or neither a signer nor a company is named.
std::string PublisherOf(const std::optional<ProgramFileFacts>& file);

}  // namespace zorvik
