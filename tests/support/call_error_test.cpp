#include "support/call_error.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace vardelle {
namespace {

TEST(CallError, TextsFollowTheCodeTableInOrder) {
  const std::vector<std::string> texts = {"对象为空",
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
                                          "应答过大"};
  for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
    EXPECT_EQ(CallErrorText(-1 - i), texts[i]) << "code " << -1 - i;
  }
}

TEST(CallError, CodesOutsideTheTableHaveNoText) {
  for (const int code : {0, 1, -22, -1000}) EXPECT_EQ(CallErrorText(code), "") << code;
}

TEST(CallError, EveryThreadKeepsItsOwnCode) {
  SetCallError(CallError::kOverflow);
  int seenByOther = 1;
  int otherAfterSet = 0;
  std::thread other([&] {
    seenByOther = LastCallErrorCode();
    SetCallError(CallError::kEmptyObject);
    otherAfterSet = LastCallErrorCode();
  });
  other.join();
  EXPECT_EQ(seenByOther, 0);
  EXPECT_EQ(otherAfterSet, -1);
  EXPECT_EQ(LastCallErrorText(), "溢出");
  ClearCallError();
  EXPECT_EQ(LastCallErrorText(), "");
}

}  // namespace
}  // namespace vardelle
