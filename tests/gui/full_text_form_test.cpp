// The corpus text viewer and the corpus list dialog: a long text shown at
// line 5,000, captions, one viewer per text, suppressing tags, printing with
// its question, and removing texts from the list.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>

#include "corpus/file_strings.h"
#include "gui/app/frame_menu.h"
#include "gui/app/gui_messages.h"
#include "gui/corpus/corpora_list_dlg.h"
#include "gui/corpus/full_text_form.h"
#include "gui/results/strings_view.h"
#include "gui_test_support.h"

namespace korvane::gui {
namespace {

using test::AnswerNextModal;
using test::ClickButton;
using test::FrameFixture;

std::string NumberedText(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TFullTextForm* ViewerOf(FrameFixture& f, const std::string& path) {
  TFullTextForm* viewer = f.frame.FindViewer(path);
  EXPECT_NE(viewer, nullptr) << path;
  return viewer;
}

bool WaitLoaded(TFullTextForm* viewer) {
  return QTest::qWaitFor([&] { return viewer->Loaded(); }, 10000);
}

TEST(FullTextFormTest, ShowsLine5000OfALongText) {
  FrameFixture f;
  const std::string path = f.LoadText("long.txt", NumberedText(12000));
  TFullTextForm* viewer = ViewerOf(f, path);
  ASSERT_TRUE(WaitLoaded(viewer));
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Corpus Text - long.txt"));
  EXPECT_EQ(viewer->Lines()->GetCount(), 12001);
  viewer->TextWindow->SetTopIndex(4999);
  ASSERT_FALSE(viewer->TextWindow->Screen().empty());
  EXPECT_EQ(viewer->TextWindow->Screen()[0].Lines[0], QStringLiteral("line 5000"));
  EXPECT_EQ(viewer->TextWindow->verticalScrollBar()->value(), 4999);
  EXPECT_TRUE(viewer->CMD_Print->isEnabled() ||
              QTest::qWaitFor([&] { return viewer->CMD_Print->isEnabled(); }, 2000));
}

TEST(FullTextFormTest, OneViewerPerTextWithItsCaption) {
  const struct {
    std::string name;
    const char* caption;
  } captions[] = {
      {"/data/corpus/novel.txt", "Corpus Text - novel.txt"},
      {"http://example.org/texts/a.txt", "Corpus Text - http://example.org/texts/a.txt"},
  };
  for (const auto& c : captions) EXPECT_EQ(CorpusTextCaption(c.name), QString::fromUtf8(c.caption));

  FrameFixture f;
  const std::string first = f.LoadText("a.txt", "alpha\r\n");
  const std::string second = f.LoadText("b.txt", "beta\r\n");
  ASSERT_EQ(f.frame.Children().size(), 2u);
  f.frame.ShowText(0);
  EXPECT_EQ(f.frame.Children().size(), 2u);
  EXPECT_EQ(f.frame.ActiveChild(), f.frame.FindViewer(first));
  // Loading the same file again shows its viewer instead.
  LoadTexts(f.state, {first});
  EXPECT_EQ(f.state.corpus.Count(), 2);
  EXPECT_EQ(f.frame.Children().size(), 2u);

  ViewerOf(f, second)->CMD_HideAll->trigger();
  EXPECT_TRUE(f.frame.Children().empty());
}

TEST(FullTextFormTest, SuppressHidesTagsButPrintingKeepsThem) {
  FrameFixture f;
  const std::string text = "<p>\r\nsome <b>bold</b> words\r\n";
  const std::string path = f.LoadText("tagged.txt", text);
  TFullTextForm* viewer = ViewerOf(f, path);
  ASSERT_TRUE(WaitLoaded(viewer));
  viewer->CMD_SuppressTags->trigger();
  EXPECT_EQ(viewer->TextWindow->Screen()[0].Lines[0], QString());
  EXPECT_EQ(viewer->TextWindow->Screen()[1].Lines[0], QStringLiteral("some bold words"));

  // At most two suppress items at a time.
  viewer->CMD_SuppressPartOfSpeech->trigger();
  viewer->CMD_SuppressWords->trigger();
  EXPECT_FALSE(viewer->CMD_SuppressWords->isChecked());

  // The raw print takes the text as it is, tags included.
  const std::string pdf = (f.dir.path() / "print.pdf").string();
  f.frame.Printer().setOutputFormat(QPrinter::PdfFormat);
  f.frame.Printer().setOutputFileName(QString::fromStdString(pdf));
  f.frame.UpdateCommandStates();
  viewer->Print();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
  EXPECT_FALSE(f.state.Busy.IsBusy());
}

TEST(FullTextFormTest, PrintingAskFirstOnlyForMoreThanAHundredLines) {
  const struct {
    int lines;
    bool asked;
  } cases[] = {{50, false}, {101, true}};
  for (const auto& c : cases) {
    FrameFixture f;
    const std::string path = f.LoadText("t.txt", NumberedText(c.lines - 1));  // plus the empty last line
    TFullTextForm* viewer = ViewerOf(f, path);
    ASSERT_TRUE(WaitLoaded(viewer));
    ASSERT_EQ(viewer->Lines()->GetCount(), c.lines);
    const std::string pdf = (f.dir.path() / "print.pdf").string();
    f.frame.Printer().setOutputFormat(QPrinter::PdfFormat);
    f.frame.Printer().setOutputFileName(QString::fromStdString(pdf));
    QString asked;
    if (c.asked) {
      AnswerNextModal([&](QWidget* dialog) {
        asked = dialog->findChild<QLabel*>(QStringLiteral("Message"))->text();
        ClickButton(dialog, QStringLiteral("&No"));
      });
    }
    viewer->Print();
    if (c.asked) {
      EXPECT_EQ(asked, QStringLiteral("Print complete text of corpus?\n(Approximately 101 lines)"));
      EXPECT_FALSE(std::filesystem::exists(pdf));
    } else {
      EXPECT_TRUE(std::filesystem::exists(pdf));
    }
  }
}

TEST(CorporaListDlgTest, RemoveRenumbersAndTheLastRemovalUnloads) {
  EXPECT_FALSE(RemoveButtonEnabled(false, false));
  EXPECT_FALSE(RemoveButtonEnabled(true, true));
  EXPECT_TRUE(RemoveButtonEnabled(true, false));

  FrameFixture f;
  const std::string a = f.LoadText("a.txt", NumberedText(3));
  const std::string b = f.LoadText("b.txt", NumberedText(4));
  const std::string c = f.LoadText("c.txt", NumberedText(5));
  f.frame.Menu().FMF_ViewCorpus->trigger();
  TCorporaListDlg& dialog = f.frame.CorporaList();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select File(s) to View"));
  ASSERT_EQ(dialog.CorporaList->count(), 3);
  EXPECT_FALSE(dialog.RemoveButton->isEnabled());
  EXPECT_FALSE(dialog.ShowButton->isEnabled());
  EXPECT_FALSE(dialog.ReloadButton->isEnabled());

  dialog.CorporaList->item(1)->setSelected(true);
  EXPECT_TRUE(dialog.RemoveButton->isEnabled());
  EXPECT_TRUE(dialog.ShowButton->isEnabled());
  EXPECT_FALSE(dialog.ReloadButton->isEnabled());  // a file, not a cached URL
  dialog.RemoveButton->click();
  ASSERT_EQ(f.state.corpus.Count(), 2);
  EXPECT_EQ(f.state.corpus.Texts[1].CorpusFiles, c);
  EXPECT_EQ(f.frame.FindViewer(b), nullptr);
  ASSERT_EQ(dialog.CorporaList->count(), 2);
  EXPECT_EQ(dialog.CorporaList->item(1)->text().toStdString(), c);
  EXPECT_TRUE(dialog.isVisible());

  // Show opens the viewer and deselects the text.
  f.frame.HideAllTextViewers();
  QApplication::processEvents();
  dialog.CorporaList->item(0)->setSelected(true);
  dialog.ShowButton->click();
  EXPECT_NE(f.frame.FindViewer(a), nullptr);
  EXPECT_FALSE(dialog.CorporaList->item(0)->isSelected());

  dialog.CorporaList->selectAll();
  dialog.RemoveButton->click();
  EXPECT_TRUE(f.state.corpus.Empty());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(f.frame.Children().empty());
}

}  // namespace
}  // namespace korvane::gui
