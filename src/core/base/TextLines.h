#pragma once
// Cutting the bytes of a text file into lines, as a start-up batch or profile file is read.
#include <string>
#include <vector>

namespace zorvik {

// A line ends at a carriage return; a line feed right after it is part of that line end. A line
// feed alone does not end a line and stays in its text. A Ctrl-Z (26) ends the file. Text after
// the last carriage return is a line of its own when it is not empty.
std::vector<std::string> SplitTextLines(const std::string& bytes);

}  // namespace zorvik
