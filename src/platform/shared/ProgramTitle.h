#pragma once
// The application's title until the program sets one.
#include <string>

namespace platform::shared {

// The program file's name without its folder and extension: "C:\Tools\Zorvik.exe" gives
// "Zorvik".
std::string TitleOfProgram(const std::string& programPath);

}  // namespace platform::shared
