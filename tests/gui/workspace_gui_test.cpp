// The workspace commands of the main window: "Save Workspace As..." with its
// file and options dialogs, the caption and menu afterwards, "Open
// Workspace..." bringing the texts back, and saving on exit.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>

#include <filesystem>

#include "gui/app/frame_menu.h"
#include "gui/app/workspace_options_form.h"
#include "gui_test_support.h"

namespace korvane::gui {
namespace {

using test::AnswerNextModal;
using test::ClickButton;
using test::FrameFixture;

// Answers the next file dialog with path, then runs then on the dialog that
// follows it (if any).
void ChooseFile(const std::string& path, std::function<void(QWidget*)> then = {}) {
  AnswerNextModal([path, then](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr) << dialog->windowTitle().toStdString();
    if (then) AnswerNextModal(then);
    files->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(files)->accept();
  });
}

TEST(WorkspaceGuiTest, SaveAsOpenAndSaveOnExit) {
  FrameFixture f;
  f.LoadText("a.txt", "alpha beta\r\ngamma\r\n");
  f.LoadText("b.txt", "delta\r\n");
  const std::string file = (f.dir.path() / "thesis.KWS").string();

  QString title;
  bool linePages = false, freq = true, urls = true;
  ChooseFile(file, [&](QWidget* dialog) {
    auto* form = qobject_cast<TWkSpaceOptionsForm*>(dialog);
    ASSERT_NE(form, nullptr);
    title = form->windowTitle();
    linePages = form->LinePagesBox->isChecked();
    freq = form->FreqBox->isChecked();
    urls = form->URLsBox->isChecked();
    ClickButton(dialog, QStringLiteral("OK"));
  });
  f.frame.Menu().FMF_SaveWorkspaceAs->trigger();
  EXPECT_EQ(title, QStringLiteral("Save Workspace Options"));
  // A new workspace keeps the tables, and the corpus frequency only when it
  // has been counted.
  EXPECT_TRUE(linePages);
  EXPECT_FALSE(freq);
  EXPECT_FALSE(urls);
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(f.frame.windowTitle(), QStringLiteral("Korvane - Thesis"));
  EXPECT_EQ(f.state.General.WorkspacePath, f.dir.path().string() + "/");
  f.frame.UpdateCommandStates();
  EXPECT_TRUE(f.frame.Menu().FMF_SaveWorkspace->isEnabled());
  EXPECT_TRUE(f.frame.Menu().FMF_SaveWorkspaceOnExit->isEnabled());

  f.frame.Menu().FMF_UnloadCorpus->trigger();
  ASSERT_TRUE(f.state.corpus.Empty());
  ChooseFile(file);
  f.frame.Menu().FMF_OpenWorkspace->trigger();
  ASSERT_EQ(f.state.corpus.Count(), 2);
  EXPECT_TRUE(f.state.corpus.Texts[0].LineTables.Index);
  EXPECT_EQ(f.state.corpus.WorkspaceFile, file);

  // With "Save Workspace On Exit" ticked, leaving saves the workspace as it
  // stands.
  f.LoadText("c.txt", "epsilon\r\n");
  f.frame.UpdateCommandStates();
  f.frame.Menu().FMF_SaveWorkspaceOnExit->trigger();
  ASSERT_TRUE(f.state.General.SaveOnExit);
  f.frame.Menu().FMF_Exit->trigger();
  EXPECT_NE(f.dir.ReadFile("thesis.KWS").find("FileCount=3\r\n"), std::string::npos);
}

}  // namespace
}  // namespace korvane::gui
