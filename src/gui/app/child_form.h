// The child windows of the main window and what they may ask of it.
//
// Every result window is a TChildForm inside the frame's multiple-document
// area, with the kind tag the frame dispatches commands by. At every idle pass
// the frame asks each child to update its own commands (UpdateCommands); after
// the tag settings changed it tells each child (TagSettingsChanged). A child's
// own menu (ChildMenu) joins the frame's menu bar while the child is active.
#pragma once

#include <QWidget>

class QMenu;
class QPrinter;

namespace korvane {
class BusyFlags;
}

namespace korvane::gui {

class TextCodec;

// The kind tags of child windows.
enum class ChildKind {
  None = 0,
  CorpusText = 1,
  Concordance = 2,
  CollocateFrequency = 3,
  WordList = 4,
  CorpusComparison = 5,
};

// The services of the main window that children and dialogs use.
class TFrameServices {
 public:
  virtual ~TFrameServices() = default;
  // The printer chosen with "&Print Setup...".
  virtual QPrinter& Printer() = 0;
  // Decodes corpus text bytes for display.
  virtual const TextCodec& Codec() const = 0;
  // Runs the idle update at once, so that commands reflect a busy flag that
  // was just set.
  virtual void UpdateCommandStates() = 0;
  // Closes every corpus text viewer.
  virtual void HideAllTextViewers() = 0;
  // Opens the text viewer on corpus text index, or brings its viewer forward.
  virtual void ShowText(int index) = 0;
  // Closes the viewer of corpus text index, before the text is removed.
  virtual void CloseTextViewer(int index) = 0;
  // Closes every child window and removes every text.
  virtual void UnloadCorpus() = 0;
};

class TChildForm : public QWidget {
  Q_OBJECT

 public:
  explicit TChildForm(ChildKind kind, QWidget* parent = nullptr) : QWidget(parent), kind_(kind) {}

  ChildKind Kind() const { return kind_; }
  // The menu that joins the menu bar while this child is active, or none.
  virtual QMenu* ChildMenu() { return nullptr; }
  // The frame's idle pass: update this window's commands.
  virtual void UpdateCommands(const BusyFlags& /*busy*/) {}
  // The tag or part-of-speech settings changed: re-read them and redisplay.
  virtual void TagSettingsChanged() {}
  // The size of the larger context pane changed.
  virtual void BigContextSizeChanged() {}
  // Corpus text index was removed; later texts moved down by one.
  virtual void TextRemoved(int /*index*/) {}
  // The window is about to close because the texts it reads go: it lets go
  // of every reader and source of the corpus now, before its deferred
  // deletion, and shows nothing from then on.
  virtual void ReleaseTexts() {}

  // Set when the frame closes the window; such a window no longer counts.
  void MarkClosing() { closing_ = true; }
  bool IsClosing() const { return closing_; }

 private:
  ChildKind kind_;
  bool closing_ = false;
};

}  // namespace korvane::gui
