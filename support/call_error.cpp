#include "support/call_error.h"

#include <array>

namespace vardelle {
namespace {

// Each thread sees only its own outcome, as the component calls of one thread never
// report to another.
thread_local int lastCode = 0;

// Texts for the codes -1 .. -21, in that order.
constexpr std::array<const char*, 21> kTexts = {
    "对象为空",
    "指定对象没有调用接口",
    "未找到指定属性或方法",
    "指定对象没有类型信息",
    "提供了过多的参数",
    "该对象不是字体对象",
    "参数数据类型错误",
    "执行成功，但返回值类型不匹配",
    "参数数目错误",
    "参数类型值无效",
    "发现异常",
    "未找到指定成员",
    "不支持命名参数",
    "溢出",
    "未找到指定参数",
    "类型不匹配",
    "必需的参数数据被省略",
    "其他原因调用失败",
    "拒绝从 https 重定向到 http",
    "拒绝从公网地址重定向到本机或内网地址",
    "应答过大",
};

}  // namespace

void SetCallError(CallError code) { lastCode = static_cast<int>(code); }

int LastCallErrorCode() { return lastCode; }

std::string CallErrorText(int code) {
  if (code >= 0 || code < -static_cast<int>(kTexts.size())) return {};
  return kTexts[static_cast<std::size_t>(-code - 1)];
}

}  // namespace vardelle
