#include "core/engine/verdict/VerdictCache.h"

#include "core/base/AsciiLower.h"

namespace zorvik {

SignatureFacts ReadSignatureFacts(platform::System& sys, const std::string& path,
                                  const platform::SignatureVerdict* embedded) {
    SignatureFacts signature;
    platform::FileFacts* facts = sys.fileFacts();
    if (!facts) return signature;
    signature.known = true;
    signature.embedded = embedded ? *embedded : facts->Signature(path);
    // A catalog look-up costs milliseconds: only asked where the file's own signature does
    // not vouch for it already.
    if (signature.embedded.state != platform::SignatureState::Trusted)
        signature.catalog = facts->CatalogSignature(path);
    return signature;
}

void VerdictCache::BeginScan() {
    ++scan_;
    std::erase_if(files_, [&](const auto& file) { return file.second.scan + 1 < scan_; });
}

VerdictCache::Entry& VerdictCache::Fresh(platform::System& sys, const std::string& path,
                                         bool asProgram) {
    platform::FileFacts* facts = sys.fileFacts();
    const std::optional<std::uint64_t> size = facts ? facts->Size(path) : std::nullopt;
    const std::optional<std::uint64_t> lastWrite = facts ? facts->LastWriteTime(path) : std::nullopt;
    Entry& entry = files_[AsciiLower(path)];
    const bool sameFile = entry.scan != 0 && entry.size == size && entry.lastWrite == lastWrite &&
                          (lastWrite || entry.scan == scan_);
    if (sameFile && (entry.asProgram || !asProgram)) {
        entry.scan = scan_;
        return entry;
    }
    entry = Entry{size, lastWrite, scan_, asProgram, {}};
    if (asProgram) {
        entry.facts.file = ReadProgramFileFacts(sys, path);
        const ProgramFileFacts* file = entry.facts.file ? &*entry.facts.file : nullptr;
        if (file && file->readable) {
            entry.facts.version = file->version;
            entry.facts.signature = ReadSignatureFacts(sys, path, &file->signature);
        } else {
            entry.facts.signature.known = facts != nullptr;
        }
    } else {
        entry.facts.signature = ReadSignatureFacts(sys, path);
    }
    return entry;
}

const CachedFileFacts& VerdictCache::Program(platform::System& sys, const std::string& path) {
    return Fresh(sys, path, true).facts;
}

const CachedFileFacts& VerdictCache::Module(platform::System& sys, const std::string& path) {
    return Fresh(sys, path, false).facts;
}

}  // namespace zorvik
