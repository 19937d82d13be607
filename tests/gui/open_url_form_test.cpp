// The "Open URL" dialog: refusals keep it open, a good URL goes to the top
// of the history, and Cancel returns nothing.
#include "gui/net/open_url_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/scripted_host.h"
#include "gui_test_support.h"

namespace korvane::gui {
namespace {

TEST(OpenURLFormTest, ChecksTheURLAndKeepsTheHistory) {
  ScriptedHost host;
  std::vector<std::string> history = {"http://a.org/1.txt", "http://b.org/2.txt"};
  {
    TOpenURLForm form(host, history);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Open URL"));
    EXPECT_EQ(form.URLList->currentText(), QStringLiteral("http://a.org/1.txt"));
    const struct {
      const char* typed;
      const char* refusal;
    } refused[] = {
        {"   ", "\"URL\" field can not be empty."},
        {"gopher://x", "\"gopher://x\" is incomplete or bad URL."},
    };
    for (const auto& r : refused) {
      form.URLList->setEditText(QString::fromUtf8(r.typed));
      form.accept();
      ASSERT_FALSE(host.messages.empty());
      EXPECT_EQ(host.messages.back().text, r.refusal);
      EXPECT_EQ(form.result(), 0);
    }
    form.URLList->setEditText(QStringLiteral("  http://b.org/2.txt "));
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.URL(), "http://b.org/2.txt");
  }
  EXPECT_EQ(history, (std::vector<std::string>{"http://b.org/2.txt", "http://a.org/1.txt"}));

  test::AnswerNextModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
  EXPECT_EQ(ExecuteOpenURL(host, history, nullptr), "");
}

}  // namespace
}  // namespace korvane::gui
