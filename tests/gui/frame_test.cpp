// The main window: the menu's state with an empty corpus, a loaded one and a
// running operation; "E&xit" and the close box; the status line; the window
// caption; the URL progress boxes; and commands that are not there yet.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QStatusTipEvent>

#include <climits>

#include "gui/app/frame_menu.h"
#include "gui/app/gui_messages.h"
#include "gui/app/hint_bar.h"
#include "gui/app/message_dialog.h"
#include "gui/app/url_info_box.h"
#include "gui/corpus/full_text_form.h"
#include "gui_test_support.h"

namespace korvane::gui {
namespace {

using test::AnswerNextModal;
using test::ClickButton;
using test::FrameFixture;

struct MenuState {
  const char* name;
  QAction* action;
  bool enabled;
  bool visible;
};

void ExpectMenu(const std::vector<MenuState>& expected, const char* situation) {
  for (const MenuState& m : expected) {
    EXPECT_EQ(m.action->isEnabled(), m.enabled) << situation << ": " << m.name << " enabled";
    EXPECT_EQ(m.action->isVisible(), m.visible) << situation << ": " << m.name << " visible";
  }
}

TEST(FrameTest, MenuFollowsTheCorpusAndBusyState) {
  FrameFixture f;
  QApplication::processEvents();
  TFrameMenu& m = f.frame.Menu();
  f.frame.UpdateCommandStates();
  ExpectMenu(
      {
          {"Load Corpus File(s)", m.FMF_LoadCorpusFiles, true, true},
          {"View Corpus", m.FMF_ViewCorpus, false, true},
          {"Unload Corpus", m.FMF_UnloadCorpus, false, true},
          {"Stop Loading URLs", m.FMF_StopLoadingURLs, false, true},
          {"Save Workspace", m.FMF_SaveWorkspace, false, true},
          {"Save Workspace On Exit", m.FMF_SaveWorkspaceOnExit, false, true},
          {"Collect Tag Information", m.FMF_CollectTagInformation, false, true},
          // A hidden menu counts as disabled.
          {"Concordance menu", m.ConcordanceMenu->menuAction(), false, false},
          {"Frequency menu", m.FrequencyMenu->menuAction(), false, false},
          {"Display menu", m.DisplayMenu->menuAction(), false, false},
          {"Window menu", m.WindowMenu->menuAction(), false, false},
          {"Exit", m.FMF_Exit, true, true},
          {"Help", m.FMI_Help, true, true},
      },
      "empty corpus");
  EXPECT_FALSE(m.FMF_SaveWorkspaceOnExit->isChecked());

  f.LoadText("one.txt", "first line\r\nsecond line\r\n");
  QApplication::processEvents();
  f.frame.UpdateCommandStates();
  ExpectMenu(
      {
          {"View Corpus", m.FMF_ViewCorpus, true, true},
          {"Unload Corpus", m.FMF_UnloadCorpus, true, true},
          {"Collect Tag Information", m.FMF_CollectTagInformation, true, true},
          {"Concordance menu", m.ConcordanceMenu->menuAction(), true, true},
          {"Search", m.FMC_Search, true, true},
          {"Concordance Save as File", m.FMC_SaveAsFile, false, true},
          {"Concordance Print", m.FMC_Print, false, true},
          {"Close All", m.FMC_CloseAll, false, true},
          {"Frequency menu", m.FrequencyMenu->menuAction(), true, true},
          {"Corpus Frequency Data", m.FMQ_CorpusFrequencyOrder, true, true},
          {"Collocate Frequency", m.FMQ_CollocateFrequency, false, true},
          {"Copy to Clipboard", m.FMQ_CopyToClipboard, false, true},
          {"Window menu (the viewer is open)", m.WindowMenu->menuAction(), true, true},
          {"Cascade", m.FMW_Cascade, true, true},
      },
      "loaded corpus");

  {
    BusyScope busy(f.state.Busy, BusyKind::Printing);
    f.frame.UpdateCommandStates();
    ExpectMenu(
        {
            {"Load Corpus File(s)", m.FMF_LoadCorpusFiles, false, true},
            {"Unload Corpus", m.FMF_UnloadCorpus, false, true},
            {"Search", m.FMC_Search, false, true},
            {"Exit", m.FMF_Exit, false, true},
            {"View Corpus", m.FMF_ViewCorpus, true, true},
            {"About", m.FMI_About, true, true},
        },
        "busy");
  }
  // The timer brings the menu back once the operation has ended.
  f.frame.IdleTimer().setInterval(10);
  f.state.Busy.Set(BusyKind::Saving);
  QTest::qWait(30);
  f.state.Busy.Clear(BusyKind::Saving);
  EXPECT_TRUE(QTest::qWaitFor([&] { return m.FMF_LoadCorpusFiles->isEnabled(); }, 2000));
}

TEST(FrameTest, ExitClosesAtOnceWhileTheCloseBoxAsksFirst) {
  FrameFixture f;
  QString asked;
  AnswerNextModal([&](QWidget* dialog) {
    asked = dialog->findChild<QLabel*>(QStringLiteral("Message"))->text();
    ClickButton(dialog, QStringLiteral("&No"));
  });
  EXPECT_FALSE(f.frame.close());
  EXPECT_EQ(asked, QStringLiteral("Do you really want to quit?"));
  EXPECT_TRUE(f.frame.isVisible());

  // Refused without a question while an operation runs.
  {
    BusyScope busy(f.state.Busy, BusyKind::Searching);
    EXPECT_FALSE(f.frame.close());
  }

  // "E&xit" does not ask, and the configuration is written on the way out.
  f.frame.Menu().FMF_Exit->trigger();
  EXPECT_FALSE(f.frame.isVisible());
  EXPECT_TRUE(std::filesystem::exists(f.dir.path() / "user" / "KORVANE.INI"));
}

TEST(FrameTest, StatusLineShowsHintsStageTextsAndTheCorpus) {
  FrameFixture f;
  QApplication::processEvents();
  EXPECT_EQ(f.frame.HintBar()->HintText(), QStringLiteral(" No files loaded"));
  EXPECT_EQ(f.frame.HintBar()->CorpusInfo(), QStringLiteral("0 bytes, 0 files"));

  QStatusTipEvent hint(f.frame.Menu().FMF_UnloadCorpus->statusTip());
  QApplication::sendEvent(&f.frame, &hint);
  EXPECT_EQ(f.frame.HintBar()->HintText(), QStringLiteral(" Unload the whole corpus and close all windows"));

  f.LoadText("a.txt", std::string(2048, 'a'));
  EXPECT_EQ(f.frame.HintBar()->HintText(), QStringLiteral(" 1 file in current corpus"));
  EXPECT_EQ(f.frame.HintBar()->CorpusInfo(), QStringLiteral("2.00 kbytes, 1 file"));
  f.host.StatusText("Sorting...");
  EXPECT_EQ(f.frame.HintBar()->HintText(), QStringLiteral(" Sorting..."));
  f.host.StatusText("");
  EXPECT_EQ(f.frame.HintBar()->HintText(), QStringLiteral(" 1 file in current corpus"));
}

TEST(FrameTest, CaptionNamesTheWorkspace) {
  const struct {
    std::string workspace;
    const char* caption;
  } cases[] = {
      {"", "Korvane"},
      {"/home/ann/Corpora/MY THESIS.KWS", "Korvane - My thesis"},
      {"/tmp/x.kws", "Korvane - X"},
  };
  for (const auto& c : cases) EXPECT_EQ(FrameCaption(c.workspace), QString::fromUtf8(c.caption)) << c.workspace;
}

TEST(FrameTest, URLBoxesShareThePanelAndTellTheirProgress) {
  const struct {
    int count;
    int width;
  } widths[] = {{1, 16}, {2, 16}, {9, 16}, {12, 12}};
  for (const auto& w : widths) {
    EXPECT_EQ(URLBoxGeometry(0, w.count, TURLStatusPanel::kWidth, 21).width(), w.width) << w.count;
    EXPECT_EQ(URLBoxGeometry(w.count - 1, w.count, TURLStatusPanel::kWidth, 21).x(), 2 + (w.count - 1) * w.width);
  }
  EXPECT_EQ(URLBoxHint("http://a.org/t.txt", 1572864, 707789), QStringLiteral("http://a.org/t.txt (45.00% of 1.50 mbytes)"));
  EXPECT_EQ(URLBoxHint("ftp://b/c", INT32_MAX, 2048), QStringLiteral("ftp://b/c (2.00 kbytes of unknown)"));
  EXPECT_EQ(URLBoxBarHeight(100, 50, 15), 8);
  EXPECT_EQ(URLBoxBarHeight(100, 150, 15), 15);

  FrameFixture f;
  TURLStatusPanel* panel = f.frame.HintBar()->URLStatusPanel;
  f.host.URLBoxAdd("http://a.org/t.txt", 1000);
  f.host.URLBoxAdd("http://b.org/u.txt", INT32_MAX);
  EXPECT_TRUE(panel->isVisible());
  f.host.URLBoxUpdate("http://a.org/t.txt", 500);
  EXPECT_EQ(panel->Boxes()[0]->toolTip(), QStringLiteral("http://a.org/t.txt (50.00% of 1000 bytes)"));
  f.host.URLBoxRemove("http://a.org/t.txt");
  f.host.URLBoxRemove("http://b.org/u.txt");
  EXPECT_FALSE(panel->isVisible());
}

TEST(FrameTest, CommandsNotThereYetSaySoAndUnloadClosesEveryWindow) {
  FrameFixture f;
  f.LoadText("a.txt", "alpha\r\n");
  ASSERT_EQ(f.frame.Children().size(), 1u);
  QString told;
  AnswerNextModal([&](QWidget* dialog) {
    told = dialog->windowTitle() + ": " + dialog->findChild<QLabel*>(QStringLiteral("Message"))->text();
    ClickButton(dialog, QStringLiteral("OK"));
  });
  f.frame.Menu().FMC_Search->trigger();
  EXPECT_EQ(told, QStringLiteral("Information: \"Search\" is not available in this version of Korvane yet."));

  f.frame.Menu().FMF_UnloadCorpus->trigger();
  EXPECT_TRUE(f.state.corpus.Empty());
  EXPECT_TRUE(f.frame.Children().empty());
  EXPECT_EQ(f.frame.HintBar()->CorpusInfo(), QStringLiteral("0 bytes, 0 files"));
}

}  // namespace
}  // namespace korvane::gui
