#pragma once
// Shell calls whose failure ends the operation.
#include "platform/ShellNamespace.h"

namespace zorvik {

// Raises AppError with the system's text for a failed result ("OLE error 80004005" style when
// the system has no text for its code); a success passes.
void CheckShell(const platform::ShellResult& result);

}  // namespace zorvik
