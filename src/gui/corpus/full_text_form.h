// TFullTextForm: the child window that shows one corpus text as a scrolling
// list of lines, at once, even for a very large text or one still
// downloading. Its lines come from a TFileStrings over the text (counted in
// the background) through a reader of its own, drawn by a TStringsView.
// The window wraps lines on request, hides tags, part-of-speech tags or words,
// changes its font, and prints the raw text. Its menu "Corpus &Text" joins the
// menu bar while it is active.
//
// User-interface thread; the counting thread's notifications are passed on to
// it (one pending notification at a time).
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "gui/app/child_form.h"

class QAction;
class QMenu;

namespace korvane {
class ProgramState;
class TBufStream;
class TFileStrings;
}  // namespace korvane

namespace korvane::gui {

class TStringsView;

// Whether a suppress item may turn on: not while the other two are both on.
bool SuppressMayTurnOn(bool otherA, bool otherB);

class TFullTextForm : public TChildForm {
  Q_OBJECT

 public:
  TFullTextForm(ProgramState& state, TFrameServices& frame, QWidget* parent = nullptr);
  ~TFullTextForm() override;

  // Opens the window on a corpus text by its name (path or URL). A text that
  // cannot be opened leaves the window empty.
  void OpenText(const std::string& name);
  const std::string& TextName() const { return name_; }
  bool Opened() const { return opened_; }
  // Counting has found every line.
  bool Loaded() const { return loaded_; }
  TFileStrings* Lines() const { return lines_.get(); }

  QMenu* ChildMenu() override { return menu_; }
  void UpdateCommands(const BusyFlags& busy) override;
  void TagSettingsChanged() override;
  void ReleaseTexts() override;

  // The commands of "Corpus &Text".
  void ChangeFont();
  void ToggleWordWrap();
  void ToggleSuppress(QAction* item);
  void Print();

  TStringsView* TextWindow = nullptr;
  QAction* CMD_ChangeFont = nullptr;
  QAction* CMD_WordWrap = nullptr;
  QAction* CMD_SuppressTags = nullptr;
  QAction* CMD_SuppressPartOfSpeech = nullptr;
  QAction* CMD_SuppressWords = nullptr;
  QAction* CMD_Print = nullptr;
  QAction* CMD_HideAll = nullptr;

 protected:
  // Refused while the window prints its text.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenu();
  void LineCounted();
  void CountDone();

  ProgramState& state_;
  TFrameServices& frame_;
  QMenu* menu_ = nullptr;
  std::unique_ptr<TBufStream> reader_;
  std::unique_ptr<TFileStrings> lines_;
  std::atomic<bool> lineNotePending_{false};
  bool loaded_ = false;
  bool opened_ = false;
  bool printing_ = false;
  std::string name_;
};

}  // namespace korvane::gui
