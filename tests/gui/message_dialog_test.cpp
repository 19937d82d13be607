// The message dialog's default and cancelling buttons, its layout in dialog
// units, the progress dialogs' Cancel, and the input query.
#include "gui/app/message_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "gui/app/double_progress_form.h"
#include "gui/app/input_form.h"
#include "gui/app/progress_form.h"
#include "gui_test_support.h"

namespace korvane::gui {
namespace {

using B = TMsgDlgBtn;
using R = TModalResult;

// Shows the dialog, presses key (on the focused button) and returns the result.
TModalResult PressKey(TMessageDialog& dialog, Qt::Key key) {
  test::AnswerNextModal([key](QWidget* modal) {
    QWidget* target = modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
    QTest::keyClick(target, key);
    // A dialog without a cancelling button stays open on Escape.
    if (modal->isVisible()) QTimer::singleShot(0, modal, [modal] { static_cast<QDialog*>(modal)->done(0); });
  });
  return dialog.Execute();
}

TEST(MessageDialogTest, EnterAndEscapePressTheDefaultAndCancellingButtons) {
  const struct {
    TMsgDlgButtons buttons;
    B focused;
    B defaultButton;
    R enter;
    R escape;
  } cases[] = {
      {{B::mbYes, B::mbNo}, B::mbYes, B::mbYes, R::mrYes, R::mrNo},
      // The focused button takes Enter, as on the desktop.
      {{B::mbYes, B::mbNo}, B::mbNo, B::mbYes, R::mrNo, R::mrNo},
      {{B::mbOK, B::mbCancel}, B::mbOK, B::mbOK, R::mrOk, R::mrCancel},
      {{B::mbAbort, B::mbRetry, B::mbIgnore}, B::mbRetry, B::mbRetry, R::mrRetry, R::mrAbort},
      {{B::mbOK}, B::mbOK, B::mbOK, R::mrOk, R::mrOk},
      {{B::mbYes, B::mbNo, B::mbCancel}, B::mbYes, B::mbYes, R::mrYes, R::mrCancel},
      {{B::mbIgnore}, B::mbIgnore, B::mbHelp, R::mrIgnore, R::mrNone},
  };
  for (const auto& c : cases) {
    TMessageDialog enter(QStringLiteral("Question?"), TMsgDlgType::mtConfirmation, c.buttons, c.focused);
    if (c.defaultButton != B::mbHelp) {
      EXPECT_TRUE(enter.Button(c.defaultButton)->isDefault());
    }
    EXPECT_EQ(PressKey(enter, Qt::Key_Return), c.enter);
    TMessageDialog escape(QStringLiteral("Question?"), TMsgDlgType::mtConfirmation, c.buttons, c.focused);
    EXPECT_EQ(PressKey(escape, Qt::Key_Escape), c.escape);
  }
}

TEST(MessageDialogTest, TitlesCaptionsAndOrderAreFixed) {
  TMessageDialog dialog(QStringLiteral("x"), TMsgDlgType::mtWarning,
                        {B::mbNoToAll, B::mbOK, B::mbYes, B::mbCancel}, B::mbOK);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Warning"));
  std::vector<QPushButton*> buttons;
  for (B b : {B::mbYes, B::mbOK, B::mbCancel, B::mbNoToAll}) buttons.push_back(dialog.Button(b));
  for (std::size_t i = 0; i + 1 < buttons.size(); ++i) EXPECT_LT(buttons[i]->x(), buttons[i + 1]->x());
  EXPECT_EQ(buttons[3]->text(), QStringLiteral("&Not to All"));
  TMessageDialog custom(QStringLiteral("x"), TMsgDlgType::mtCustom, {B::mbOK}, B::mbOK);
  EXPECT_EQ(custom.windowTitle(), QStringLiteral("Korvane"));
}

TEST(MessageDialogTest, LayoutWrapsLongTextsAndFitsTheButtons) {
  const DialogUnits units{1.5, 1.625};  // an average character of 6 pixels, a 13-pixel line
  const MessageDialogLayout shortText = LayoutMessageDialog(units, QSize(20, 13), true, 3);
  const int buttonRow = 3 * 75 + 2 * 6;
  EXPECT_EQ(shortText.Client.width(), buttonRow + 2 * 12);
  EXPECT_EQ(shortText.Text.height(), 32);  // the icon's height at least
  EXPECT_EQ(shortText.Buttons[0].size(), QSize(75, 23));
  EXPECT_EQ(shortText.Buttons[0].x(), 12);
  EXPECT_EQ(shortText.Client.height(), 13 + 32 + 16 + 23 + 13);

  const MessageDialogLayout wide = LayoutMessageDialog(units, QSize(500, 26), true, 1);
  EXPECT_EQ(wide.Text.x(), 12 + 32 + 15);
  EXPECT_EQ(wide.Client.width(), 12 + 32 + 15 + 500 + 12);
  EXPECT_EQ(wide.Buttons[0].center().x(), wide.Client.width() / 2);

  // The real dialog: a long message wraps within half the screen.
  const int halfScreen = QGuiApplication::primaryScreen()->geometry().width() / 2;
  TMessageDialog longMessage(QStringLiteral("word ").repeated(300), TMsgDlgType::mtError, {B::mbOK}, B::mbOK);
  EXPECT_LE(longMessage.MessageLabel()->width(), halfScreen + 1);
  EXPECT_GT(longMessage.MessageLabel()->height(), longMessage.MessageLabel()->fontMetrics().height());
  TMessageDialog tiny(QStringLiteral("!"), TMsgDlgType::mtInformation, {B::mbYes, B::mbNo, B::mbCancel}, B::mbYes);
  EXPECT_GE(tiny.width(), tiny.Button(B::mbCancel)->geometry().right());
}

TEST(ProgressFormTest, ButtonsAndEscapeOnlySetTheRequest) {
  QtProgressForm single(false, nullptr);
  single.Caption = "Counting";
  single.ProgressLabel = "Counting words...";
  single.ProgressBar = 40;
  single.Show();
  TProgressDialog* dialog = single.Dialog();
  EXPECT_EQ(dialog->ProgressBar->value(), 40);
  EXPECT_TRUE(dialog->SpecialText->isVisibleTo(dialog));
  EXPECT_EQ(dialog->CancelAllButton, nullptr);
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_EQ(single.Tag, 1);
  EXPECT_TRUE(dialog->isVisible());

  QtProgressForm both(true, nullptr);
  both.Show();
  EXPECT_FALSE(both.Dialog()->SpecialText->isVisibleTo(both.Dialog()));
  both.Dialog()->CancelAllButton->click();
  EXPECT_EQ(both.Tag, 2);

  QtDoubleProgressForm search(nullptr);
  search.DetailsButtonVisible = true;
  search.HeadingsPanelVisible = true;
  search.Show();
  TDoubleProgressDialog* details = search.Dialog();
  EXPECT_FALSE(details->OptionsPanel->isVisibleTo(details));
  details->DetailsButton->click();
  EXPECT_EQ(details->DetailsButton->text(), QStringLiteral("No details <<"));
  EXPECT_TRUE(details->OptionsPanel->isVisibleTo(details));
  EXPECT_TRUE(details->HeadingsPanel->isVisibleTo(details));
  EXPECT_FALSE(details->ContextsPanel->isVisibleTo(details));
  details->DetailsButton->click();
  EXPECT_EQ(details->DetailsButton->text(), QStringLiteral("Details >>"));
}

TEST(InputFormTest, ReturnsTheTextAlsoOnCancel) {
  for (const bool ok : {true, false}) {
    test::AnswerNextModal([ok](QWidget* modal) {
      auto* form = static_cast<TIForm*>(modal);
      QTest::keyClicks(form->EditBox, QStringLiteral("speak*"));
      test::ClickButton(form, ok ? QStringLiteral("Ok") : QStringLiteral("Cancel"));
    });
    QString text;
    EXPECT_EQ(ExecuteInputQuery(QStringLiteral("Pattern"), QStringLiteral("&Pattern:"), TFont{}, text, nullptr), ok);
    EXPECT_EQ(text, QStringLiteral("speak*"));
  }
}

}  // namespace
}  // namespace korvane::gui
