#pragma once
// Which of many programs a start-up text names, and whether disabled, in one pass over the
// text. A scan examines every socket owner and Active Setup stub against every text read from
// the places; testing each name on each text would cost programs x texts substring tests, so
// the names are gathered once per scan into an Aho-Corasick automaton over their lower-cased
// forms (long name, short name, and both with ".bak"), and each text is walked once.
#include <cstdint>
#include <string>
#include <vector>

namespace zorvik {

struct ProgramNames {
    std::string programFileName;  // e.g. prog.exe
    std::string shortFileName;    // its 8.3 form, or empty
    // The whole path, and its 8.3 form, for texts that name a program only by its whole path
    // (the programs run in place of an unquoted command); empty where not known.
    std::string programPath = {};
    std::string shortPath = {};
};

class ProgramNameMatcher {
public:
    explicit ProgramNameMatcher(const std::vector<ProgramNames>& programs);

    struct Match {
        std::uint32_t program;  // index into the programs given to the constructor
        bool disabled;
    };

    // The programs that lowerText (already ASCII lower-cased) names, each once: the long or
    // short name occurs in it; disabled when one of them with ".bak" occurs (an empty name
    // makes that ".bak" alone). Replaces out's contents.
    void Find(const std::string& lowerText, std::vector<Match>& out);

private:
    enum Role : std::uint8_t { kNames = 1, kDisabled = 2 };
    struct Owner {
        std::uint32_t program;
        Role role;
    };

    std::uint32_t AddPattern(const std::string& pattern);
    void Build();

    std::vector<std::string> patterns_;
    std::vector<std::vector<Owner>> owners_;  // per pattern
    std::uint8_t classOf_[256] = {};          // 0: a byte no pattern holds
    std::uint32_t classCount_ = 1;
    std::vector<std::int32_t> next_;          // state * classCount_ + class -> state
    std::vector<std::int32_t> patternAt_;     // per state: the pattern ending here, or -1
    std::vector<std::int32_t> outputLink_;    // per state: nearest suffix state with a pattern
    // Scratch of one Find, kept to spare allocations per text.
    std::vector<std::uint32_t> patternSeen_;
    std::vector<std::uint32_t> programSeen_;
    std::vector<std::uint8_t> programRoles_;
    std::vector<std::uint32_t> touched_;
    std::uint32_t stamp_ = 0;
};

}  // namespace zorvik
