// The corpus list dialog.
#include "gui/corpus/corpora_list_dlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/program_state.h"
#include "corpus/corpus_loader.h"
#include "corpus/synchro_stream.h"
#include "gui/app/child_form.h"
#include "gui/app/gui_messages.h"
#include "gui/app/qt_convert.h"

namespace korvane::gui {

bool RemoveButtonEnabled(bool anySelected, bool busy) { return anySelected && !busy; }
bool ShowButtonEnabled(bool anySelected) { return anySelected; }
bool ReloadButtonEnabled(bool selectedCachedURL) { return selectedCachedURL; }

namespace {
// A URL text read from a cached copy (a file), not from a live download.
bool IsCachedURLText(const TCorpusText& text) {
  return IsURL(text.CorpusFiles) && text.CorpusStreams != nullptr &&
         typeid(*text.CorpusStreams) == typeid(TFileSynchroStream);
}
}  // namespace

TCorporaListDlg::TCorporaListDlg(ProgramState& state, TFrameServices& frame, QWidget* parent)
    : QDialog(parent), state_(state), frame_(frame) {
  setWindowTitle(CorporaListCaption());
  setModal(false);
  resize(520, 300);
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  ListLabel = new QLabel(QStringLiteral("Currently loaded &corpora:"), this);
  CorporaList = new QListWidget(this);
  CorporaList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListLabel->setBuddy(CorporaList);
  left->addWidget(ListLabel);
  left->addWidget(CorporaList);
  layout->addLayout(left, 1);

  auto* buttons = new QVBoxLayout;
  RemoveButton = new QPushButton(QStringLiteral("&Remove"), this);
  ShowButton = new QPushButton(QStringLiteral("&Show"), this);
  ReloadButton = new QPushButton(QStringLiteral("Re&load"), this);
  CloseButton = new QPushButton(QStringLiteral("Close"), this);
  for (QPushButton* button : {RemoveButton, ShowButton, ReloadButton, CloseButton}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addStretch();
  layout->addLayout(buttons);

  connect(RemoveButton, &QPushButton::clicked, this, &TCorporaListDlg::RemoveSelected);
  connect(ShowButton, &QPushButton::clicked, this, &TCorporaListDlg::ShowSelected);
  connect(ReloadButton, &QPushButton::clicked, this, &TCorporaListDlg::ReloadSelected);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
  connect(CorporaList, &QListWidget::itemDoubleClicked, this, [this] {
    ShowSelected();
    close();
  });
  connect(CorporaList, &QListWidget::itemSelectionChanged, this, &TCorporaListDlg::UpdateButtons);
  CorporaList->installEventFilter(this);
  CorporaList->viewport()->installEventFilter(this);
  Refresh();
}

void TCorporaListDlg::ShowDialog() {
  Refresh();
  show();
  raise();
  activateWindow();
  UpdateButtons();
}

void TCorporaListDlg::Refresh() {
  std::vector<std::string> selected;
  for (QListWidgetItem* item : CorporaList->selectedItems()) selected.push_back(S(item->text()));
  CorporaList->clear();
  for (const TCorpusText& text : state_.corpus.Texts) {
    auto* item = new QListWidgetItem(Q(text.CorpusFiles), CorporaList);
    item->setSelected(std::find(selected.begin(), selected.end(), text.CorpusFiles) != selected.end());
  }
  UpdateButtons();
}

std::vector<int> TCorporaListDlg::SelectedTexts() const {
  std::vector<int> indexes;
  for (int row = 0; row < CorporaList->count(); ++row)
    if (CorporaList->item(row)->isSelected() && row < state_.corpus.Count()) indexes.push_back(row);
  return indexes;
}

void TCorporaListDlg::UpdateButtons() {
  const std::vector<int> selected = SelectedTexts();
  bool cachedURL = false;
  for (int i : selected)
    if (IsCachedURLText(state_.corpus.Texts[static_cast<std::size_t>(i)])) cachedURL = true;
  RemoveButton->setEnabled(RemoveButtonEnabled(!selected.empty(), state_.Busy.IsBusy()));
  ShowButton->setEnabled(ShowButtonEnabled(!selected.empty()));
  ReloadButton->setEnabled(ReloadButtonEnabled(cachedURL));
}

bool TCorporaListDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease) UpdateButtons();
  return QDialog::eventFilter(watched, event);
}

void TCorporaListDlg::RemoveSelected() {
  const std::vector<int> selected = SelectedTexts();
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    // The viewer lets go of the text before the text goes.
    frame_.CloseTextViewer(*it);
    RemoveText(state_, *it);
  }
  state_.host.CorpusInfoChanged();
  state_.host.ProcessMessages();
  if (state_.corpus.Empty()) {
    close();
    frame_.UnloadCorpus();
    return;
  }
  Refresh();
  raise();
  activateWindow();
}

void TCorporaListDlg::ShowSelected() {
  for (int i : SelectedTexts()) {
    frame_.ShowText(i);
    if (QListWidgetItem* item = CorporaList->item(i)) item->setSelected(false);
  }
  UpdateButtons();
  raise();
}

void TCorporaListDlg::ReloadSelected() {
  const std::vector<int> selected = SelectedTexts();
  // A reloaded text gets a new source: its viewer lets go of the old one first.
  for (int i : selected)
    if (IsCachedURLText(state_.corpus.Texts[static_cast<std::size_t>(i)])) frame_.CloseTextViewer(i);
  ReloadURLTexts(state_, selected);
  close();
}

}  // namespace korvane::gui
