// The main window: layout, the idle update, child windows, and the frame
// notifications of the core.
#include "gui/app/frame_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QStatusTipEvent>

#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "gui/app/frame_commands.h"
#include "gui/app/frame_menu.h"
#include "gui/app/gui_messages.h"
#include "gui/app/hint_bar.h"
#include "gui/app/qt_convert.h"
#include "gui/app/qt_host.h"
#include "gui/app/url_info_box.h"
#include "gui/corpus/corpora_list_dlg.h"
#include "gui/corpus/full_text_form.h"

namespace korvane::gui {
namespace {

// The timer that keeps the menu in step while an operation runs.
constexpr int kIdleTimerIntervalMs = 1000;

}  // namespace

TFrameForm::TFrameForm(ProgramState& state, QtHost& host, ConfigLocations locations, QStringList arguments,
                       QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      host_(host),
      locations_(std::move(locations)),
      arguments_(std::move(arguments)) {
  setWindowTitle(FrameCaption({}));
  resize(960, 680);
  mdiArea_ = new QMdiArea(this);
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  hintBar_ = new THintBar(this);
  setStatusBar(hintBar_);
  menu_ = std::make_unique<TFrameMenu>(*this);
  commands_ = std::make_unique<TFrameCommands>(*this, state_, host_);
  corporaList_ = new TCorporaListDlg(state_, *this, this);

  idleTimer_.setInterval(kIdleTimerIntervalMs);
  connect(&idleTimer_, &QTimer::timeout, this, [this] {
    // While busy, and once more after: the end of an operation shows in the
    // menu even when no other event comes.
    const bool busy = state_.Busy.IsBusy();
    if (busy || wasBusy_) RunIdle();
    wasBusy_ = busy;
  });
  idleTimer_.start();
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &TFrameForm::ChildActivated);
  connect(menu_->WindowMenu, &QMenu::aboutToShow, this, &TFrameForm::FillWindowMenu);
  ConnectCommands();
  qApp->installEventFilter(this);

  UpdateCorpusInfo();
  RunIdle();
}

TFrameForm::~TFrameForm() {
  qApp->removeEventFilter(this);
  host_.SetFrame(nullptr);
  idleTimer_.stop();
  // The children go with the window's base class; they no longer report here.
  disconnect(mdiArea_, nullptr, this, nullptr);
  // The texts go with the program: first the windows that read them, then
  // every text with its streams, readers, index tables and temporary files.
  for (TChildForm* child : Children()) child->ReleaseTexts();
  for (int i = state_.corpus.Count() - 1; i >= 0; --i) RemoveText(state_, i);
}

void TFrameForm::ConnectCommands() {
  TFrameMenu& m = *menu_;
  TFrameCommands* c = commands_.get();
  const auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };
  on(m.FMF_LoadCorpusFiles, [c] { c->LoadCorpusFiles(); });
  on(m.FMF_LoadCorpusURL, [c] { c->LoadCorpusURL(); });
  on(m.FMF_CountWordsWhileLoading, [c] { c->ToggleCountWordsWhileLoading(); });
  on(m.FMF_StopLoadingURLs, [c] { c->StopLoadingURLs(); });
  on(m.FMF_UnloadCorpus, [c] { c->UnloadCorpus(); });
  on(m.FMF_ViewCorpus, [c] { c->ViewCorpus(); });
  on(m.FMF_OpenWorkspace, [c] { c->OpenWorkspaceFile(); });
  on(m.FMF_SaveWorkspace, [c] { c->SaveWorkspaceFile(); });
  on(m.FMF_SaveWorkspaceAs, [c] { c->SaveWorkspaceFileAs(); });
  on(m.FMF_SaveWorkspaceOnExit, [c] { c->ToggleSaveWorkspaceOnExit(); });
  on(m.FMF_CollectTagInformation, [c] { c->CollectTagInformation(); });
  on(m.FMF_PrintSetup, [c] { c->PrintSetup(); });
  on(m.FMF_Exit, [c] { c->Exit(); });
  on(m.FMC_CloseAll, [c] { c->CloseAllConcordances(); });
  on(m.FMW_Tile, [this] { mdiArea_->tileSubWindows(); });
  on(m.FMW_Cascade, [this] { mdiArea_->cascadeSubWindows(); });
  on(m.FMW_ArrangeIcons, [this] { ArrangeIcons(); });
  on(m.FMI_Help, [c] { c->Help(); });
  on(m.FMI_About, [c] { c->About(); });
  // Commands whose work comes with later parts of the program.
  for (QAction* action :
       {m.FMF_NormalTags, m.FMF_PartOfSpeechTags, m.FMF_Language, m.FMC_Search,
        m.FMC_AdvancedSearch, m.FMC_SearchOptions, m.FMC_SaveAsFile, m.FMC_Print, m.FMQ_CollocateFrequency,
        m.FMQ_AdvancedCollocation, m.FMQ_CorpusFrequencyOrder, m.FMQ_CorpusAlphabeticalOrder,
        m.FMQ_BatchFrequencyOrder, m.FMQ_BatchAlphabeticalOrder, m.FMQ_FrequencyOptions, m.FMQ_CorpusComparison,
        m.FMQ_Sort, m.FMQ_CopyToClipboard, m.FMQ_SaveAsFile, m.FMQ_Print, m.FMD_ChangeFont})
    on(action, [c, action] { c->NotAvailable(action); });
}

// ---- Idle update --------------------------------------------------------------

void TFrameForm::ScheduleIdle() {
  if (idleScheduled_) return;
  idleScheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    idleScheduled_ = false;
    RunIdle();
  });
}

void TFrameForm::RunIdle() {
  menu_->Apply(Facts());
  for (TChildForm* child : Children()) child->UpdateCommands(state_.Busy);
}

void TFrameForm::UpdateCommandStates() { RunIdle(); }

bool TFrameForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::WindowActivate:
    case QEvent::FocusIn:
    case QEvent::Close:
    case QEvent::Show:
    case QEvent::Hide:
      ScheduleIdle();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

FrameFacts TFrameForm::Facts() const {
  const Corpus& corpus = state_.corpus;
  FrameFacts f;
  f.CorpusNotEmpty = !corpus.Empty();
  f.Busy = state_.Busy.IsBusy();
  const std::vector<TChildForm*> children = Children();
  f.AnyChild = !children.empty();
  for (const TChildForm* child : children)
    if (child->Kind() == ChildKind::Concordance) f.AnyConcordance = true;
  const TChildForm* active = ActiveChild();
  const ChildKind kind = active != nullptr ? active->Kind() : ChildKind::None;
  f.ActiveConcordance = kind == ChildKind::Concordance;
  f.ActiveFrequency = kind == ChildKind::CollocateFrequency || kind == ChildKind::WordList ||
                      kind == ChildKind::CorpusComparison;
  f.ActiveComparison = kind == ChildKind::CorpusComparison;
  f.WorkspaceLoaded = !corpus.WorkspaceFile.empty();
  f.UnfinishedURLs = corpus.UnfinishedURLs > 0;
  for (const TCorpusText& text : corpus.Texts)
    if (text.PageTables.IsMissing() || text.WordCount <= 0) f.TagInfoMissing = true;
  f.CountWordsWhileLoading = corpus.CountWordsWhileLoading;
  f.SaveOnExit = state_.General.SaveOnExit;
  return f;
}

// ---- Child windows ------------------------------------------------------------

std::vector<TChildForm*> TFrameForm::Children() const {
  std::vector<TChildForm*> children;
  for (QMdiSubWindow* window : mdiArea_->subWindowList())
    if (auto* child = qobject_cast<TChildForm*>(window->widget()); child != nullptr && !child->IsClosing())
      children.push_back(child);
  return children;
}

TChildForm* TFrameForm::ActiveChild() const {
  QMdiSubWindow* window = mdiArea_->activeSubWindow();
  auto* child = window != nullptr ? qobject_cast<TChildForm*>(window->widget()) : nullptr;
  return child != nullptr && !child->IsClosing() ? child : nullptr;
}

TFullTextForm* TFrameForm::FindViewer(const std::string& name) const {
  TFullTextForm* found = nullptr;
  for (TChildForm* child : Children())
    if (auto* viewer = qobject_cast<TFullTextForm*>(child); viewer != nullptr && viewer->TextName() == name)
      found = viewer;
  return found;
}

namespace {
// Closes a child: it lets go of the corpus at once; the window goes later.
void CloseChild(TChildForm* child) {
  child->ReleaseTexts();
  child->MarkClosing();
  if (auto* window = qobject_cast<QMdiSubWindow*>(child->parentWidget()))
    window->close();
  else
    child->close();
}
}  // namespace

void TFrameForm::CloseChildren(ChildKind kind) {
  for (TChildForm* child : Children())
    if (child->Kind() == kind) CloseChild(child);
  ScheduleIdle();
}

void TFrameForm::CloseAllChildren() {
  for (TChildForm* child : Children()) CloseChild(child);
  ScheduleIdle();
}

void TFrameForm::HideAllTextViewers() { CloseChildren(ChildKind::CorpusText); }

void TFrameForm::ShowText(int index) {
  if (index < 0 || index >= state_.corpus.Count()) return;
  const std::string name = state_.corpus.Texts[static_cast<std::size_t>(index)].CorpusFiles;
  TFullTextForm* viewer = FindViewer(name);
  QMdiSubWindow* window = nullptr;
  if (viewer == nullptr) {
    viewer = new TFullTextForm(state_, *this);
    viewer->OpenText(name);
    window = mdiArea_->addSubWindow(viewer);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->resize(mdiArea_->width() * 2 / 3, mdiArea_->height() * 2 / 3);
  } else {
    window = qobject_cast<QMdiSubWindow*>(viewer->parentWidget());
  }
  if (window == nullptr) return;
  window->showNormal();
  mdiArea_->setActiveSubWindow(window);
  ScheduleIdle();
}

void TFrameForm::CloseTextViewer(int index) {
  if (index < 0 || index >= state_.corpus.Count()) return;
  if (TFullTextForm* viewer = FindViewer(state_.corpus.Texts[static_cast<std::size_t>(index)].CorpusFiles))
    CloseChild(viewer);
}

void TFrameForm::UnloadCorpus() {
  CloseAllChildren();
  korvane::UnloadCorpus(state_);
  UpdateCorpusInfo();
  ScheduleIdle();
}

void TFrameForm::ChildActivated(QMdiSubWindow* window) {
  if (childMenuAction_) menuBar()->removeAction(childMenuAction_);
  childMenuAction_.clear();
  auto* child = window != nullptr ? qobject_cast<TChildForm*>(window->widget()) : nullptr;
  if (child != nullptr && child->ChildMenu() != nullptr)
    childMenuAction_ = menuBar()->insertMenu(menu_->WindowMenu->menuAction(), child->ChildMenu());
  ScheduleIdle();
}

// Lines the minimised windows up along the bottom of the area.
void TFrameForm::ArrangeIcons() {
  int x = 0;
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    window->move(x, mdiArea_->viewport()->height() - size.height());
    x += size.width();
  }
}

void TFrameForm::FillWindowMenu() {
  for (QAction* action : windowListActions_) {
    menu_->WindowMenu->removeAction(action);
    delete action;
  }
  windowListActions_.clear();
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (windows.isEmpty()) return;
  windowListActions_.push_back(menu_->WindowMenu->addSeparator());
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    QAction* action = menu_->WindowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
    action->setCheckable(true);
    action->setChecked(window == mdiArea_->activeSubWindow());
    connect(action, &QAction::triggered, this, [this, window] { mdiArea_->setActiveSubWindow(window); });
    windowListActions_.push_back(action);
  }
}

// ---- Window events --------------------------------------------------------------

bool TFrameForm::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    UpdateStatusLine(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() == QEvent::WindowActivate) UpdateStatusLine();
  return QMainWindow::event(event);
}

void TFrameForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activated_) return;
  activated_ = true;
  QTimer::singleShot(0, this, [this] { commands_->FirstActivation(); });
}

void TFrameForm::closeEvent(QCloseEvent* event) {
  if (!commands_->CloseQuery()) {
    event->ignore();
    return;
  }
  corporaList_->close();
  event->accept();
}

// ---- Status bar and caption ---------------------------------------------------

void TFrameForm::UpdateStatusLine(const QString& hint) {
  hintBar_->SetHintText(Q(StatusLineText(state_.corpus, S(hint))));
}

void TFrameForm::ShowStatusText(const QString& text) {
  if (text.isEmpty())
    UpdateStatusLine();
  else
    hintBar_->SetHintText(QStringLiteral(" ") + text);
}

void TFrameForm::UpdateCorpusInfo() {
  hintBar_->SetCorpusInfo(Q(CorpusInfoText(state_.corpus)));
  UpdateStatusLine();
  corporaList_->Refresh();
  ScheduleIdle();
}

void TFrameForm::UpdateCaption() { setWindowTitle(FrameCaption(state_.corpus.WorkspaceFile)); }

void TFrameForm::AddURLBox(const std::string& url, std::int32_t totalSize) {
  hintBar_->URLStatusPanel->Add(url, totalSize);
}

void TFrameForm::UpdateURLBox(const std::string& url, std::int32_t received) {
  hintBar_->URLStatusPanel->Update(url, received);
}

void TFrameForm::RemoveURLBox(const std::string& url) { hintBar_->URLStatusPanel->Remove(url); }

// ---- Notifications ------------------------------------------------------------

void TFrameForm::CorpusChanged() {
  CloseChildren(ChildKind::WordList);
  corporaList_->Refresh();
}

void TFrameForm::RecountWords() {
  RecomputeTotalWords(state_.corpus);
  UpdateCorpusInfo();
}

void TFrameForm::BigContextSizeChanged() {
  for (TChildForm* child : Children())
    if (child->Kind() == ChildKind::Concordance) child->BigContextSizeChanged();
}

void TFrameForm::TagSettingsChanged() {
  for (TChildForm* child : Children()) child->TagSettingsChanged();
}

void TFrameForm::TextRemoved(int index) {
  for (TChildForm* child : Children()) {
    if (auto* viewer = qobject_cast<TFullTextForm*>(child)) {
      if (state_.corpus.IndexOf(viewer->TextName()) < 0) CloseChild(viewer);
    } else {
      child->TextRemoved(index);
    }
  }
  corporaList_->Refresh();
}

QPrinter& TFrameForm::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

}  // namespace korvane::gui
