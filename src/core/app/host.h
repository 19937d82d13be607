// The host interface: the only way the core reaches the user.
//
// Long operations of the core run on the user-interface thread, let pending
// messages run at fixed intervals and poll a progress object for Cancel; they
// ask questions and report errors through message dialogs. The desktop
// program implements this interface with Qt dialogs, korvane-cli with the
// terminal, and the tests with a scripted host that answers from a queue.
//
// Every member runs on the user-interface thread, except Synchronize and Post,
// which are the way other threads reach it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/font.h"

namespace korvane {

// Kinds of message dialog, with their fixed titles (MessageDialogTitle).
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons in their fixed left-to-right order.
enum class TMsgDlgBtn {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

// A set of buttons.
class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    for (TMsgDlgBtn b : buttons) bits_ |= Bit(b);
  }
  constexpr bool Contains(TMsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }

 private:
  static constexpr std::uint16_t Bit(TMsgDlgBtn b) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(b));
  }
  std::uint16_t bits_ = 0;
};

// What a message dialog returns. mrNone answers the Help button and a dialog
// that was closed without a choice.
enum class TModalResult {
  mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll
};

// The dialog's title for a kind; the custom kind uses the application title.
const char* MessageDialogTitle(TMsgDlgType kind);
// The caption of a button ("&Yes", "OK", "&Not to All", ...).
const char* MessageButtonCaption(TMsgDlgBtn button);
// The result a button returns.
TModalResult MessageButtonResult(TMsgDlgBtn button);
// The button that Enter presses: OK, else Yes, else Retry (mbHelp when none).
TMsgDlgBtn DefaultMessageButton(TMsgDlgButtons buttons);
// The button that Escape presses: Abort when present, else Cancel, else No,
// else OK (mbHelp when none).
TMsgDlgBtn CancelMessageButton(TMsgDlgButtons buttons);

// The application title: the caption of custom dialogs and of the main window.
inline constexpr const char* kApplicationTitle = "Korvane";

// A single progress dialog (Cancel, or Cancel and Cancel All). The operation
// sets the fields, calls Update() to show them, lets messages run and reads
// Tag. Tag is written by the user interface: 0 no request, 1 Cancel,
// 2 Cancel All.
class TProgressForm {
 public:
  explicit TProgressForm(bool cancelAll) : CancelAllOffered(cancelAll) {}
  virtual ~TProgressForm() = default;
  TProgressForm(const TProgressForm&) = delete;
  TProgressForm& operator=(const TProgressForm&) = delete;

  const bool CancelAllOffered;
  std::string Caption;
  std::string ProgressLabel;
  int ProgressBar = 0;  // 0..100
  std::string SpecialText;  // shown only without Cancel All
  std::atomic<int> Tag{0};

  // Shows the form non-modally.
  virtual void Show() {}
  // The fields changed: redraw them.
  virtual void Update() {}
};

// The double progress dialog of searches: two bars and a details panel that
// the caller fills and makes visible. Tag 1 means Cancel.
class TDoubleProgressForm {
 public:
  TDoubleProgressForm() = default;
  virtual ~TDoubleProgressForm() = default;
  TDoubleProgressForm(const TDoubleProgressForm&) = delete;
  TDoubleProgressForm& operator=(const TDoubleProgressForm&) = delete;

  std::string Caption;
  std::string ActionLabel;
  std::string SubProgressLabel;
  int SubProgressBar = 0;  // 0..100
  std::string ProgressLabel;
  int ProgressBar = 0;  // 0..100
  std::string SpecialText;
  bool DetailsButtonVisible = false;

  // Options panel: "Search:", "Ignore case:", "Freq. of hits:", "Sent. mode:".
  std::string DetailSearch, DetailIgnoreCase, DetailFreqOfHits, DetailSentMode;
  // PaddingPanel: "Skipping characters:", "Equal characters:".
  bool PaddingPanelVisible = false;
  std::string DetailSkippingChars, DetailEqualChars;
  // Headings panel.
  bool HeadingsPanelVisible = false;
  std::string DetailHeadingStart, DetailHeadingStop, DetailHeadingMatch, DetailTextStart,
      DetailTextStop;
  // Contexts panel.
  bool ContextsPanelVisible = false;
  std::string DetailLeftContext, DetailRightContext;

  std::atomic<int> Tag{0};

  virtual void Show() {}
  virtual void Update() {}
};

// The frame's notifications. The values are the frame's message numbers, kept
// for reference; the host receives them as typed calls.
enum class FrameMessage : unsigned {
  StatusText = 0x464,
  CorpusInfo = 0x465,
  UpdateChildCommands = 0x466,
  TagSettingsChanged = 0x467,
  URLBoxAdd = 0x468,
  URLBoxUpdate = 0x469,
  URLBoxRemove = 0x46A,
  CorpusChanged = 0x46B,
  RecountWords = 0x46C,
  UnloadCorpus = 0x46D,
  BigContextSizeChanged = 0x46E,
};

class Host {
 public:
  virtual ~Host() = default;

  // --- Message dialogs ---------------------------------------------------
  // Shows a modal message and returns the chosen button's result.
  virtual TModalResult ShowMessageDialog(const std::string& text, TMsgDlgType kind,
                                         TMsgDlgButtons buttons, TMsgDlgBtn focused) = 0;
  void ShowError(const std::string& text);
  void ShowWarning(const std::string& text);
  void ShowInfo(const std::string& text);
  bool AskYesNo(const std::string& text, bool yesFocused);
  bool WarnYesNo(const std::string& text, bool yesFocused);
  bool AskOKCancel(const std::string& text, bool okFocused);

  // Asks for one line of text. Returns whether "Ok" was chosen; text receives
  // the field's content in every case.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          const TFont& font, std::string& text) = 0;

  // --- Progress ----------------------------------------------------------
  virtual std::unique_ptr<TProgressForm> CreateProgress(bool cancelAll) = 0;
  virtual std::unique_ptr<TDoubleProgressForm> CreateDoubleProgress() = 0;

  // Lets pending user-interface work run (events, posted calls). The
  // caller's state may change under it.
  virtual void ProcessMessages() = 0;

  // --- Threads -----------------------------------------------------------
  // Runs fn on the user-interface thread and waits for it. May be called
  // from any thread; from the user-interface thread it runs fn at once.
  virtual void Synchronize(const std::function<void()>& fn) = 0;
  // Runs fn on the user-interface thread later. May be called from any thread.
  virtual void Post(std::function<void()> fn) = 0;

  // Milliseconds since an arbitrary start, monotonic.
  virtual std::uint32_t GetTickCount() const;

  virtual void SetBusyCursor(bool /*busy*/) {}

  // --- Frame notifications (no-ops unless a frame listens) ----------------
  // Shows a stage text in the status line; empty restores the status line.
  virtual void StatusText(const std::string& /*text*/) {}
  virtual void CorpusInfoChanged() {}
  virtual void URLBoxAdd(const std::string& /*url*/, std::int32_t /*totalSize*/) {}
  virtual void URLBoxUpdate(const std::string& /*url*/, std::int32_t /*received*/) {}
  virtual void URLBoxRemove(const std::string& /*url*/) {}
  // The corpus changed: word-list windows close (the core discards the corpus
  // word table itself).
  virtual void CorpusChanged() {}
  virtual void RecountWords() {}
  virtual void UnloadCorpusRequested(bool /*flag*/) {}
  virtual void BigContextSizeChanged() {}
  virtual void TagSettingsChanged() {}
  // A text was loaded or found to be already loaded: the desktop program
  // opens its text viewer on it.
  virtual void ShowText(int /*index*/) {}
  // Text index is about to be removed or replaced: a text viewer showing it
  // closes before its stream goes.
  virtual void CloseTextViewer(int /*index*/) {}
  // The whole corpus is about to be unloaded: every child window closes.
  virtual void CloseAllChildWindows() {}
  // Text index was removed: concordance windows drop its hits and renumber.
  virtual void TextRemoved(int /*index*/) {}
  // A workspace was opened or saved: the main window's caption names it.
  virtual void WorkspaceChanged() {}
};

// Shows the busy cursor for the lifetime of the object, however the block
// ends.
class BusyCursor {
 public:
  explicit BusyCursor(Host& host) : host_(host) { host_.SetBusyCursor(true); }
  ~BusyCursor() { host_.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Host& host_;
};

}  // namespace korvane
