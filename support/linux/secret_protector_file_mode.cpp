// Secrets on Linux: the settings file is 0600 in a 0700 folder, which is what guards them;
// sealing them with a key that the same user could read would add nothing.
#include "support/files/secret_protector.h"
#include "support/linux/linux_engines.h"

namespace vardelle {
namespace {

class FileModeSecretProtector final : public SecretProtector {
 public:
  std::optional<Text> Protect(const Text& secret) const override { return secret; }
  std::optional<Text> Reveal(const Text& kept) const override { return kept; }
  bool IsExposed(const Text&) const override { return false; }
};

}  // namespace

std::unique_ptr<SecretProtector> CreateFileModeSecretProtector() {
  return std::make_unique<FileModeSecretProtector>();
}

}  // namespace vardelle
