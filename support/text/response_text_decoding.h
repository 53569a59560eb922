// Body texts at the HTTP boundary: an answer's body read as the program's GBK text, and a
// GBK text body put on the wire as UTF-8.
#pragma once

#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// Decodes by the charset parameter of contentType when a browser knows its label (the
// gb2312 family as code page 936); without such a label, or when the platform lacks the
// encoding, as UTF-8 when the body is valid UTF-8, else as code page 936. Labels that
// browsers refuse to decode (iso-2022-kr, hz-gb-2312, …) give one "?" for the whole body.
// A leading byte order mark is dropped.
// Characters GBK lacks, undecodable bytes and stray surrogates all become "?", so the text
// never holds a byte that did not come from a whole character.
Text DecodeResponseText(const Bytes& body, std::string_view contentType);

// The text as UTF-8; bytes that are not GBK become U+FFFD.
Bytes EncodeRequestText(const Text& text);

}  // namespace vardelle
