// The Linux implementations of the support layer's engines, for the composition root.
#pragma once

#include <memory>

#include "support/http/http_component.h"
#include "support/regex/regex_engine.h"
#include "support/text/text_codec.h"

namespace vardelle {

std::unique_ptr<TextCodec> CreateIcuTextCodec();
std::unique_ptr<RegexEngine> CreatePcre2RegexEngine();
// nullptr when it cannot be created.
std::shared_ptr<HttpComponent> CreateCurlHttpComponent();

}  // namespace vardelle
