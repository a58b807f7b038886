#pragma once
// 8.3 short names as Windows forms them on a volume that keeps them.
#include <functional>
#include <string>

namespace platform::sim {

// A name that is a valid 8.3 name as it stands (letter case aside) needs no short form.
bool IsLegalShortName(const std::string& name);

// The generated short name for a long name: up to six characters of the base, "~N" with the
// lowest N that is not taken in the folder, and up to three characters of the extension, all
// upper case ("Program Files" -> "PROGRA~1", "Long Name.html" -> "LONGNA~1.HTM").
std::string GenerateShortName(const std::string& longName,
                              const std::function<bool(const std::string&)>& taken);

}  // namespace platform::sim
