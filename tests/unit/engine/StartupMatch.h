#pragma once
// The reference search's test of one program on one text: whether a start-up text names a
// program, and whether that entry has been disabled by joining ".bak" to the program's name.
#include <string>

namespace zorvik {

class StartupMatch {
public:
    StartupMatch(const std::string& programFileName, const std::string& shortFileName);

    // The lower-cased long name, else the lower-cased short name, occurs in the lower-cased
    // text. An empty name occurs nowhere.
    bool Names(const std::string& text) const;
    // The same with ".bak" joined to each name. With an empty short name that form is ".bak"
    // alone, so any text holding ".bak" counts as disabled.
    bool Disabled(const std::string& text) const;

private:
    std::string longName_;
    std::string shortName_;
};

}  // namespace zorvik
