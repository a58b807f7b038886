#pragma once
// A task definition file (TaskXml.h) changed to keep its task from running: Settings'
// Enabled made false, everything else left byte for byte as it was, in the file's encoding.
#include <optional>
#include <string>
#include <string_view>

namespace zorvik::parse {

// The bytes with the task disabled: the text of each Enabled of Settings made "false", or one
// such element added to Settings (Settings added to Task when there is none). Nothing when the
// bytes are no task definition, or the changed document would not read back as the same
// task, disabled.
std::optional<std::string> DisableTaskXml(std::string_view bytes);

}  // namespace zorvik::parse
