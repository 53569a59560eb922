// Trusted certificates given as a PEM file, and the judgement of a server's certificate by
// them alone, for the HTTP engine's caFile (WinHTTP judges by the system's roots only).
#pragma once

#include <windows.h>
// After windows.h, which it builds on.
#include <wincrypt.h>

#include <memory>
#include <string>

namespace vardelle {

struct CertificateStoreCloser {
  void operator()(HCERTSTORE store) const { CertCloseStore(store, 0); }
};
using CertificateStore = std::unique_ptr<void, CertificateStoreCloser>;
struct CertificateCloser {
  void operator()(PCCERT_CONTEXT certificate) const { CertFreeCertificateContext(certificate); }
};
using CertificatePtr = std::unique_ptr<const CERT_CONTEXT, CertificateCloser>;

// The certificates of a PEM file (GBK path), as a store; nothing when the file cannot be
// read or holds none.
CertificateStore LoadPemCertificates(const std::string& path);

// Whether the server's certificate chains, without any other fault, to one of the trusted
// certificates and names host. The system's roots count for nothing here.
bool IsTrustedServer(PCCERT_CONTEXT server, HCERTSTORE trusted, const std::wstring& host);

}  // namespace vardelle
