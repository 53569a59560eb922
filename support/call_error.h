// The calling thread's outcome code of its most recent component call. Every wrapped call
// overwrites it: 0 after success, one of the negative codes below after a failure.
#pragma once

#include <string>

namespace vardelle {

enum class CallError : int {
  kNone = 0,
  kEmptyObject = -1,
  kNoDispatch = -2,
  kMemberNotFound = -3,
  kNoTypeInfo = -4,
  kTooManyArguments = -5,
  kNotAFont = -6,
  kArgumentType = -7,
  kResultTypeMismatch = -8,
  kArgumentCount = -9,
  kInvalidArgumentValue = -10,
  kException = -11,
  kUnknownMember = -12,
  kNamedArgumentsUnsupported = -13,
  kOverflow = -14,
  kParameterNotFound = -15,
  kTypeMismatch = -16,
  kMissingArgument = -17,
  kOther = -18,
  // Codes of the program's own HTTP component, past the platform's table.
  kRedirectToPlainRefused = -19,
  kRedirectToInternalRefused = -20,
  kAnswerTooLarge = -21,
};

void SetCallError(CallError code);
inline void ClearCallError() { SetCallError(CallError::kNone); }
int LastCallErrorCode();
// The text for a code (GBK); "" for 0 and any code outside the table.
std::string CallErrorText(int code);
inline std::string LastCallErrorText() { return CallErrorText(LastCallErrorCode()); }

}  // namespace vardelle
