// The Linux support layer: which engines the portable code gets. Collation and file access
// are single functions, defined by their own files in this folder.
#include "support/http/exchange_http_component.h"
#include "support/linux/linux_engines.h"
#include "support/regex/regex_engine_pcre2.h"

namespace vardelle {

// Never destroyed: detached workers may still convert text while the process exits.
const TextCodec& SystemTextCodec() {
  static const TextCodec* const codec = CreateIcuTextCodec().release();
  return *codec;
}

const RegexEngine& SystemRegexEngine() {
  static const RegexEngine* const engine = CreatePcre2RegexEngine().release();
  return *engine;
}

const SecretProtector& SystemSecretProtector() {
  static const SecretProtector* const protector = CreateFileModeSecretProtector().release();
  return *protector;
}

std::shared_ptr<HttpComponent> CreateHttpComponent() { return CreateExchangeHttpComponent(); }

}  // namespace vardelle
