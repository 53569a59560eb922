// How a secret of the user's (the Globalping token) is kept in the settings file. On Linux
// the file itself is the user's alone (0600, see file_access.h), so the secret is kept as it
// is; on Windows it is sealed by the system for the user who runs the program, and the file
// holds only the sealed form.
#pragma once

#include <optional>

#include "support/text/text.h"

namespace vardelle {

class SecretProtector {
 public:
  virtual ~SecretProtector() = default;

  // The form to write into the file; nothing when the system refuses to seal it.
  virtual std::optional<Text> Protect(const Text& secret) const = 0;

  // The secret that a form read from the file holds. A form that Protect did not make is a
  // secret kept in clear (by an older version, or written by hand) and comes back as it is;
  // nothing when a sealed form cannot be opened (another user's, or damaged).
  virtual std::optional<Text> Reveal(const Text& kept) const = 0;

  // Whether a form read from the file is a secret in clear that Protect would seal, so the
  // file should get the sealed form instead.
  virtual bool IsExposed(const Text& kept) const = 0;
};

// The platform's protector; it lives as long as the process.
const SecretProtector& SystemSecretProtector();

}  // namespace vardelle
