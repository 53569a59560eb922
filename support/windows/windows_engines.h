// The Windows implementations of the support layer's engines, for the composition root.
#pragma once

#include <memory>

#include "support/files/secret_protector.h"
#include "support/text/text_codec.h"

namespace vardelle {

std::unique_ptr<TextCodec> CreateWindowsTextCodec();
std::unique_ptr<SecretProtector> CreateDpapiSecretProtector();

}  // namespace vardelle
