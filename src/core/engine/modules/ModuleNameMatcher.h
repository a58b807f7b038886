#pragma once
// Which socket owners a start-up text names through a module (DLL) they have loaded, for the
// rules that ask for it (Dlls=1). Owners load many of the same DLLs, so the distinct module
// file names are gathered once per scan into one table, each name knowing the owners that
// loaded it; a text is then walked once, and each file name it holds (what ends a name and
// what begins one below) is looked up whole: no module name is searched for in the text, so
// the cost is the text's length, whatever the number of modules. A name without an extension
// ("msv1_0" in a list of LSA packages, "bot" in a list of AppInit_DLLs) also names the module
// of that name + ".dll", as LoadLibrary and LSA read it.
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/modules/LowerNameTable.h"
#include "platform/PathList.h"

namespace zorvik {

// What LoadLibrary and LSA join to a module name given without an extension.
inline constexpr const char* kDllExtension = ".dll";

class ModuleNameMatcher {
public:
    // modules[p]: the paths of the modules program p has loaded beside its own file.
    explicit ModuleNameMatcher(const std::vector<platform::PathList>& modules);

    struct Match {
        std::uint32_t program;  // index into modules
        std::uint32_t module;   // index into modules[program]
        bool disabled;          // the text names the module with ".bak" after it
    };

    // Each loaded module lowerText (ASCII lower-cased) names, once per module file name and
    // owner. A name is the part of the text from after a blank, a folder's backslash, a quote,
    // a comma, a semicolon (and the like) up to one of those or the text's end, or up to a
    // ".bak" after it. Replaces out's contents.
    void Find(const std::string& lowerText, std::vector<Match>& out);

private:
    struct Loader {
        std::uint32_t program;
        std::uint32_t module;
    };
    void Look(std::string_view name, bool disabled, std::vector<Match>& out);
    static std::size_t EndsIndex(char first, char last);

    // The distinct module file names.
    LowerNameTable ids_;
    // Which first and last bytes the names have: most words of a text are no module's name,
    // and are told so without a lookup.
    std::bitset<1 << 16> endsOfNames_;
    // The loaders of name id are loaders_[firstLoader_[id]] up to firstLoader_[id + 1].
    std::vector<Loader> loaders_;
    std::vector<std::uint32_t> firstLoader_;
    std::size_t longestName_ = 0;
    // Scratch of one Find.
    std::vector<std::uint32_t> nameSeen_;
    std::uint32_t stamp_ = 0;
    std::string bare_;
};

}  // namespace zorvik
