// Secrets on Windows, sealed with the data protection API for the user who runs the program
// (CryptProtectData): only that user, on that machine, opens them again. The file holds
// "dpapi:" and the sealed bytes in base64, so a secret kept in clear by an older version,
// or written by hand, is told apart and sealed in its turn.
#include <windows.h>

// After windows.h, whose types it uses.
#include <wincrypt.h>

#include <string>
#include <string_view>

#include "support/files/secret_protector.h"
#include "support/windows/windows_engines.h"

namespace vardelle {
namespace {

constexpr std::string_view kSealedMarker = "dpapi:";

// A blob that the system allocated, freed at scope end.
class SystemBlob {
 public:
  SystemBlob() = default;
  ~SystemBlob() { LocalFree(blob_.pbData); }
  SystemBlob(const SystemBlob&) = delete;
  SystemBlob& operator=(const SystemBlob&) = delete;
  DATA_BLOB* Get() { return &blob_; }
  std::string_view Bytes() const {
    return {reinterpret_cast<const char*>(blob_.pbData), blob_.cbData};
  }

 private:
  DATA_BLOB blob_{0, nullptr};
};

DATA_BLOB BlobOf(std::string_view bytes) {
  return {static_cast<DWORD>(bytes.size()),
          reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

std::optional<std::string> ToBase64(std::string_view bytes) {
  const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
  const auto size = static_cast<DWORD>(bytes.size());
  constexpr DWORD kFlags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
  DWORD characters = 0;
  if (!CryptBinaryToStringA(data, size, kFlags, nullptr, &characters)) return std::nullopt;
  std::string text(characters, '\0');
  if (!CryptBinaryToStringA(data, size, kFlags, text.data(), &characters)) return std::nullopt;
  text.resize(characters);
  // Line ends, should the system add them anyway, would cut the file's line short.
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
  return text;
}

std::optional<std::string> FromBase64(std::string_view text) {
  const auto length = static_cast<DWORD>(text.size());
  DWORD size = 0;
  if (text.empty() || !CryptStringToBinaryA(text.data(), length, CRYPT_STRING_BASE64, nullptr,
                                            &size, nullptr, nullptr)) {
    return std::nullopt;
  }
  std::string bytes(size, '\0');
  if (!CryptStringToBinaryA(text.data(), length, CRYPT_STRING_BASE64,
                            reinterpret_cast<BYTE*>(bytes.data()), &size, nullptr, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

class DpapiSecretProtector final : public SecretProtector {
 public:
  std::optional<Text> Protect(const Text& secret) const override {
    if (secret.empty()) return secret;
    DATA_BLOB plain = BlobOf(secret);
    SystemBlob sealed;
    if (!CryptProtectData(&plain, L"Vardelle", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          sealed.Get())) {
      return std::nullopt;
    }
    const std::optional<std::string> text = ToBase64(sealed.Bytes());
    if (!text) return std::nullopt;
    return std::string(kSealedMarker) + *text;
  }

  std::optional<Text> Reveal(const Text& kept) const override {
    if (!kept.starts_with(kSealedMarker)) return kept;
    const std::optional<std::string> bytes = FromBase64(kept.substr(kSealedMarker.size()));
    if (!bytes) return std::nullopt;
    DATA_BLOB sealed = BlobOf(*bytes);
    SystemBlob plain;
    if (!CryptUnprotectData(&sealed, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            plain.Get())) {
      return std::nullopt;
    }
    return std::string(plain.Bytes());
  }

  bool IsExposed(const Text& kept) const override {
    return !kept.empty() && !kept.starts_with(kSealedMarker);
  }
};

}  // namespace

std::unique_ptr<SecretProtector> CreateDpapiSecretProtector() {
  return std::make_unique<DpapiSecretProtector>();
}

}  // namespace vardelle
