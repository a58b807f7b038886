#pragma once
// The verdict on one listed program from the facts gathered about it: a pure function, the
// same facts giving the same verdict on any system. It walks the table of signs
// (VerdictSigns.h): the signs the facts show, less those a trusted signature outweighs, make
// the program suspicious at kSuspiciousWeight; below it the signature decides between
// Windows' own, verified and unverified.
#include "core/engine/verdict/ProgramFacts.h"
#include "core/engine/verdict/Verdict.h"

namespace zorvik {

Verdict JudgeProgram(const ProgramFacts& facts);

// Signers whose signature makes a file part of Windows, embedded or through a catalog.
bool IsWindowsSigner(const std::string& signer);

}  // namespace zorvik
