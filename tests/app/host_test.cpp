// The message-dialog rules of the host and the scripted host's threading.
#include "app/host.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/scripted_host.h"

namespace korvane {
namespace {

using B = TMsgDlgBtn;

TEST(MessageDialogTest, DefaultAndCancelButtons) {
  struct Case {
    TMsgDlgButtons buttons;
    B enter;
    B escape;
  } cases[] = {
      {{B::mbOK}, B::mbOK, B::mbOK},
      {{B::mbYes, B::mbNo}, B::mbYes, B::mbNo},
      {{B::mbOK, B::mbCancel}, B::mbOK, B::mbCancel},
      {{B::mbYes, B::mbNo, B::mbCancel}, B::mbYes, B::mbCancel},
      {{B::mbAbort, B::mbRetry, B::mbIgnore}, B::mbRetry, B::mbAbort},
      {{B::mbOK, B::mbAbort}, B::mbOK, B::mbAbort},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultMessageButton(c.buttons), c.enter);
    EXPECT_EQ(CancelMessageButton(c.buttons), c.escape);
  }
}

TEST(MessageDialogTest, TitlesAndCaptions) {
  EXPECT_STREQ(MessageDialogTitle(TMsgDlgType::mtConfirmation), "Confirm");
  EXPECT_STREQ(MessageDialogTitle(TMsgDlgType::mtCustom), "Korvane");
  EXPECT_STREQ(MessageButtonCaption(B::mbNoToAll), "&Not to All");
  EXPECT_EQ(MessageButtonResult(B::mbHelp), TModalResult::mrNone);
}

TEST(MessageDialogTest, HelpersUseTheirKindsButtonsAndFocus) {
  ScriptedHost host;
  host.answers = {TModalResult::mrNo, TModalResult::mrYes, TModalResult::mrCancel};
  EXPECT_FALSE(host.AskYesNo("Do you really want to quit?", true));
  EXPECT_TRUE(host.WarnYesNo("Continue anyway?", false));
  EXPECT_FALSE(host.AskOKCancel("Open anyway?", true));
  host.ShowError("bad");
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[0].kind, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(host.messages[0].focused, B::mbYes);
  EXPECT_EQ(host.messages[1].kind, TMsgDlgType::mtWarning);
  EXPECT_EQ(host.messages[1].focused, B::mbNo);
  EXPECT_TRUE(host.messages[2].buttons.Contains(B::mbCancel));
  EXPECT_EQ(host.messages[3].kind, TMsgDlgType::mtError);
  // With no scripted answer the focused button answers.
  EXPECT_TRUE(host.AskYesNo("again?", true));
}

TEST(ScriptedHostTest, SynchronizeFromAnotherThreadRunsOnTheHostThread) {
  ScriptedHost host;
  std::thread::id ranOn;
  std::thread worker([&] { host.Synchronize([&] { ranOn = std::this_thread::get_id(); }); });
  while (ranOn == std::thread::id()) host.WaitAndRunPosted(10);
  worker.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(ScriptedHostTest, CancelsLiveProgressAfterScriptedCalls) {
  ScriptedHost host;
  host.cancelAfterProcessMessages = 2;
  host.cancelTag = 2;
  auto progress = host.CreateProgress(true);
  host.ProcessMessages();
  EXPECT_EQ(progress->Tag, 0);
  host.ProcessMessages();
  EXPECT_EQ(progress->Tag, 2);
}

}  // namespace
}  // namespace korvane
