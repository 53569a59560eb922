#include "runtime/windows/trusted_certificates.h"

// After windows.h, which the header brings: the flag that leaves the root to the caller.
#include <winhttp.h>

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

// A certificate file larger than this is not one.
constexpr DWORD kMaxCertificateFileBytes = 1 << 20;

struct ChainCloser {
  void operator()(PCCERT_CHAIN_CONTEXT chain) const { CertFreeCertificateChain(chain); }
};
struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};

std::optional<std::string> ReadSmallFile(const std::string& path) {
  const HANDLE opened = CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::unique_ptr<void, FileCloser> file(opened);
  std::string text(kMaxCertificateFileBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), kMaxCertificateFileBytes, &read, nullptr)) {
    return std::nullopt;
  }
  text.resize(read);
  return text;
}

// One "-----BEGIN CERTIFICATE-----" block, armour included, into the store.
bool AddPemCertificate(HCERTSTORE store, std::string_view block) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                            CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return false;
  }
  std::vector<BYTE> der(size);
  return CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                              CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr) &&
         CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                          CERT_STORE_ADD_ALWAYS, nullptr);
}

bool NameMatches(PCCERT_CHAIN_CONTEXT chain, std::wstring host) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.fdwChecks = SECURITY_FLAG_IGNORE_UNKNOWN_CA;  // the root was judged already
  ssl.pwszServerName = host.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) &&
         status.dwError == 0;
}

}  // namespace

CertificateStore LoadPemCertificates(const std::string& path) {
  constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
  constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
  const std::optional<std::string> text = ReadSmallFile(path);
  CertificateStore store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
  if (!text || !store) return nullptr;
  bool any = false;
  for (std::size_t begin = text->find(kBegin); begin != std::string::npos;
       begin = text->find(kBegin, begin + kBegin.size())) {
    const std::size_t end = text->find(kEnd, begin);
    if (end == std::string::npos) break;
    const std::string_view block(text->data() + begin, end + kEnd.size() - begin);
    any = AddPemCertificate(store.get(), block) || any;
  }
  return any ? std::move(store) : nullptr;
}

bool IsTrustedServer(PCCERT_CONTEXT server, HCERTSTORE trusted, const std::wstring& host) {
  const CertificateStore candidates(CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr));
  if (!candidates || !CertAddStoreToCollection(candidates.get(), server->hCertStore, 0, 0) ||
      !CertAddStoreToCollection(candidates.get(), trusted, 0, 0)) {
    return false;
  }
  CERT_CHAIN_PARA parameters{};
  parameters.cbSize = sizeof parameters;
  PCCERT_CHAIN_CONTEXT built = nullptr;
  if (!CertGetCertificateChain(nullptr, server, nullptr, candidates.get(), &parameters, 0, nullptr,
                               &built)) {
    return false;
  }
  const std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainCloser> chain(built);
  if ((chain->TrustStatus.dwErrorStatus & ~CERT_TRUST_IS_UNTRUSTED_ROOT) != 0 ||
      chain->cChain == 0 || chain->rgpChain[0]->cElement == 0) {
    return false;
  }
  const CERT_SIMPLE_CHAIN& simple = *chain->rgpChain[0];
  const PCCERT_CONTEXT root = simple.rgpElement[simple.cElement - 1]->pCertContext;
  const CertificatePtr known(
      CertFindCertificateInStore(trusted, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, root, nullptr));
  return known && NameMatches(chain.get(), host);
}

}  // namespace vardelle
