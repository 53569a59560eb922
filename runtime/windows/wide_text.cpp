#include "runtime/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace vardelle {
namespace {

constexpr UINT kGbkCodePage = 936;
// Without WC_NO_BEST_FIT_CHARS, a character GBK lacks may turn into a look-alike ('e' for
// 'é'), and a path or name spelled so quietly means something else.
constexpr DWORD kNoLookAlikes = WC_NO_BEST_FIT_CHARS;
constexpr char kStandIn[] = "?";

// The system calls count in int; a text longer than that is not worth a conversion.
int CountFor(std::size_t size) { return size > INT_MAX ? 0 : static_cast<int>(size); }

std::string ConvertToGbk(std::wstring_view wide, BOOL* replaced) {
  const int size = CountFor(wide.size());
  if (size == 0) return {};
  const int needed =
      WideCharToMultiByte(kGbkCodePage, kNoLookAlikes, wide.data(), size, nullptr, 0, kStandIn,
                          replaced);
  if (needed <= 0) return {};
  std::string gbk(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(kGbkCodePage, kNoLookAlikes, wide.data(), size, gbk.data(), needed, kStandIn,
                      nullptr);
  return gbk;
}

}  // namespace

std::wstring WideFromGbk(std::string_view gbk) {
  const int size = CountFor(gbk.size());
  if (size == 0) return {};
  const int needed = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), size, wide.data(), needed);
  return wide;
}

std::string GbkFromWide(std::wstring_view wide) { return ConvertToGbk(wide, nullptr); }

std::optional<std::string> ExactGbkFromWide(std::wstring_view wide) {
  BOOL replaced = FALSE;
  std::string gbk = ConvertToGbk(wide, &replaced);
  if (replaced) return std::nullopt;
  return gbk;
}

}  // namespace vardelle
