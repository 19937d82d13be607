// The Qt host: dialogs, progress, message pumping, thread hand-over and the
// forwarding of frame notifications.
#include "gui/app/qt_host.h"

#include <QApplication>
#include <QThread>

#include "gui/app/double_progress_form.h"
#include "gui/app/frame_form.h"
#include "gui/app/input_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/progress_form.h"
#include "gui/app/qt_convert.h"

namespace korvane::gui {

QtHost::QtHost() = default;

void QtHost::SetFrame(TFrameForm* frame) { frame_ = frame; }

QWidget* QtHost::DialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return frame_.data();
}

TModalResult QtHost::ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                                       TMsgDlgBtn focused) {
  TMessageDialog dialog(Q(text), kind, buttons, focused, DialogParent());
  return dialog.Execute();
}

bool QtHost::InputQuery(const std::string& caption, const std::string& prompt, const TFont& font,
                        std::string& text) {
  QString answer;
  const bool ok = ExecuteInputQuery(Q(caption), Q(prompt), font, answer, DialogParent());
  text = S(answer);
  return ok;
}

std::unique_ptr<TProgressForm> QtHost::CreateProgress(bool cancelAll) {
  return std::make_unique<QtProgressForm>(cancelAll, DialogParent());
}

std::unique_ptr<TDoubleProgressForm> QtHost::CreateDoubleProgress() {
  return std::make_unique<QtDoubleProgressForm>(DialogParent());
}

void QtHost::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtHost::Synchronize(const std::function<void()>& fn) {
  if (QThread::currentThread() == thread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(this, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

void QtHost::Post(std::function<void()> fn) {
  QMetaObject::invokeMethod(this, [fn = std::move(fn)] { fn(); }, Qt::QueuedConnection);
}

void QtHost::SetBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyCursors_;
  } else if (busyCursors_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyCursors_;
  }
}

void QtHost::StatusText(const std::string& text) {
  if (frame_) frame_->ShowStatusText(Q(text));
}
void QtHost::CorpusInfoChanged() {
  if (frame_) frame_->UpdateCorpusInfo();
}
void QtHost::URLBoxAdd(const std::string& url, std::int32_t totalSize) {
  if (frame_) frame_->AddURLBox(url, totalSize);
}
void QtHost::URLBoxUpdate(const std::string& url, std::int32_t received) {
  if (frame_) frame_->UpdateURLBox(url, received);
}
void QtHost::URLBoxRemove(const std::string& url) {
  if (frame_) frame_->RemoveURLBox(url);
}
void QtHost::CorpusChanged() {
  if (frame_) frame_->CorpusChanged();
}
void QtHost::RecountWords() {
  if (frame_) frame_->RecountWords();
}
void QtHost::UnloadCorpusRequested(bool) {
  if (frame_) frame_->UnloadCorpus();
}
void QtHost::BigContextSizeChanged() {
  if (frame_) frame_->BigContextSizeChanged();
}
void QtHost::TagSettingsChanged() {
  if (frame_) frame_->TagSettingsChanged();
}
void QtHost::ShowText(int index) {
  if (frame_) frame_->ShowText(index);
}
void QtHost::TextRemoved(int index) {
  if (frame_) frame_->TextRemoved(index);
}
void QtHost::CloseTextViewer(int index) {
  if (frame_) frame_->CloseTextViewer(index);
}
void QtHost::CloseAllChildWindows() {
  if (frame_) frame_->CloseAllChildren();
}
void QtHost::WorkspaceChanged() {
  if (frame_) frame_->UpdateCaption();
}

}  // namespace korvane::gui
