#pragma once
// Which socket owners a start-up text names through a module (DLL) they have loaded, for the
// rules that ask for it (Dlls=1). Owners load many of the same DLLs, so the distinct module
// file names are gathered once per scan into one ProgramNameMatcher, each name knowing the
// owners that loaded it, and a text is walked once, as for the programs' own names. A word of
// the text without an extension ("msv1_0" in a list of LSA packages) also names the module of
// that name + ".dll", as LoadLibrary and LSA read it: looked up whole, not searched for.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/engine/startup/ProgramNameMatcher.h"

namespace zorvik {

// What LoadLibrary and LSA join to a module name given without an extension.
inline constexpr const char* kDllExtension = ".dll";

class ModuleNameMatcher {
public:
    // modules[p]: the paths of the modules program p has loaded beside its own file.
    explicit ModuleNameMatcher(const std::vector<std::vector<std::string>>& modules);

    struct Match {
        std::uint32_t program;  // index into modules
        std::uint32_t module;   // index into modules[program]
        bool disabled;          // the text names the module with ".bak"
    };

    // Each loaded module lowerText (ASCII lower-cased) names, once per module file name and
    // owner. Replaces out's contents.
    void Find(const std::string& lowerText, std::vector<Match>& out);

private:
    struct Loader {
        std::uint32_t program;
        std::uint32_t module;
    };
    // The distinct module file names, lower-cased, each with its loaders, in one pass.
    struct Gathered {
        std::vector<ProgramNames> names;
        std::unordered_map<std::string, std::uint32_t> ids;
        std::vector<std::vector<Loader>> loaders;
    };

    static Gathered Gather(const std::vector<std::vector<std::string>>& modules);
    explicit ModuleNameMatcher(Gathered gathered);
    void Emit(std::uint32_t name, bool disabled, std::vector<Match>& out);

    // Per distinct module file name, in the order first met.
    std::vector<std::vector<Loader>> loaders_;
    std::unordered_map<std::string, std::uint32_t> nameIds_;
    ProgramNameMatcher names_;
    // Scratch of one Find.
    std::vector<std::uint32_t> nameSeen_;
    std::vector<ProgramNameMatcher::Match> found_;
    std::uint32_t stamp_ = 0;
    std::string word_;
};

}  // namespace zorvik
