// Server names, status words and Globalping answers come from the network: the window shows
// them as text, never as a link or an image.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTextDocument>

#include "app/alerts/alert_watching.h"
#include "ui/qt/alert_dialog.h"
#include "ui/qt/report_view.h"
#include "ui/qt/window_text.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

const char* const kHostileTexts[] = {
    "<img src=\"file:///etc/passwd\">",
    "<a href=\"https://x.example\">电信15区</a>",
    "<b>维护</b>\nBeijing, CN, AS4134 <i>China Telecom</i>",
    "电信15区 & 网通01区 <",
    "plain 电信15区",
};

TEST(PlainTextTest, AlertDialogShowsTheServersNameAsText) {
  testing::TestApplication();
  for (const char* name : kHostileTexts) {
    SCOPED_TRACE(name);
    const AlertDialog dialog(nullptr, name, AlertWatch{});
    const auto* prompt = dialog.findChild<QLabel*>(QStringLiteral("alertPrompt"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->textFormat(), Qt::PlainText);
    EXPECT_TRUE(prompt->text().contains(FromGbk(name)));
  }
}

// Whatever Qt makes of the tip, rich or plain, it reads as the text given.
TEST(PlainTextTest, ToolTipsSpellOutMarkup) {
  for (const char* text : kHostileTexts) {
    SCOPED_TRACE(text);
    const QString given = FromGbk(text);
    const QString tip = PlainTextToolTip(given);
    if (!Qt::mightBeRichText(tip)) {
      EXPECT_EQ(tip, given);
      continue;
    }
    QTextDocument shown;
    shown.setHtml(tip);
    EXPECT_EQ(shown.toPlainText(), given);
    EXPECT_FALSE(tip.contains(QStringLiteral("<img")));
    EXPECT_FALSE(tip.contains(QStringLiteral("<a ")));
  }
}

}  // namespace
}  // namespace vardelle::ui
