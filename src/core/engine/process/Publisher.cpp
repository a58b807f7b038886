#include "core/engine/process/Publisher.h"

namespace zorvik {

std::string PublisherOf(const std::optional<ProgramFileFacts>& file) {
    if (!file || !file->readable) return {};
    const platform::SignatureVerdict& signature = file->signature;
    if (signature.state != platform::SignatureState::NotSigned && !signature.signer.empty()) {
        return signature.state == platform::SignatureState::Trusted
                   ? signature.signer
                   : signature.signer + kUntrustedSignerMark;
    }
    if (!file->version || file->version->companyName.empty()) return {};
    return file->version->companyName + kUnsignedPublisherMark;
}

}  // namespace zorvik
