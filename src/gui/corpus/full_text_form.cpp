// The corpus text viewer.
#include "gui/corpus/full_text_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDialog>
#include <QMenu>
#include <QVBoxLayout>

#include "app/busy_flags.h"
#include "app/errors.h"
#include "app/program_state.h"
#include "corpus/buf_stream.h"
#include "corpus/file_strings.h"
#include "corpus/raw_text_print.h"
#include "corpus/synchro_stream.h"
#include "gui/app/gui_messages.h"
#include "gui/app/qt_convert.h"
#include "gui/corpus/raw_text_printer.h"
#include "gui/results/strings_view.h"

namespace korvane::gui {

bool SuppressMayTurnOn(bool otherA, bool otherB) { return !(otherA && otherB); }

TFullTextForm::TFullTextForm(ProgramState& state, TFrameServices& frame, QWidget* parent)
    : TChildForm(ChildKind::CorpusText, parent), state_(state), frame_(frame) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  TextWindow = new TStringsView(this);
  TextWindow->SetCodec(frame.Codec());
  TextWindow->setFont(ToQFont(state.General.CorpusFont));
  TextWindow->SetFontColor(ToQColor(state.General.CorpusFont.Color));
  layout->addWidget(TextWindow);
  setFocusProxy(TextWindow);
  CreateMenu();
}

TFullTextForm::~TFullTextForm() { ReleaseTexts(); }

void TFullTextForm::CreateMenu() {
  menu_ = new QMenu(QStringLiteral("Corpus &Text"), this);
  CMD_ChangeFont = menu_->addAction(QStringLiteral("Change &Font..."));
  CMD_WordWrap = menu_->addAction(QStringLiteral("Word W&rap"));
  CMD_WordWrap->setCheckable(true);
  QMenu* suppress = menu_->addMenu(QStringLiteral("&Suppress"));
  CMD_SuppressTags = suppress->addAction(QStringLiteral("&Tags"));
  CMD_SuppressPartOfSpeech = suppress->addAction(QStringLiteral("&Part of Speech"));
  CMD_SuppressWords = suppress->addAction(QStringLiteral("&Words"));
  for (QAction* item : {CMD_SuppressTags, CMD_SuppressPartOfSpeech, CMD_SuppressWords}) {
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item] { ToggleSuppress(item); });
  }
  menu_->addSeparator();
  CMD_Print = menu_->addAction(QStringLiteral("&Print"));
  CMD_Print->setEnabled(false);
  CMD_HideAll = menu_->addAction(QStringLiteral("&Hide All"));
  connect(CMD_ChangeFont, &QAction::triggered, this, &TFullTextForm::ChangeFont);
  connect(CMD_WordWrap, &QAction::triggered, this, &TFullTextForm::ToggleWordWrap);
  connect(CMD_Print, &QAction::triggered, this, &TFullTextForm::Print);
  connect(CMD_HideAll, &QAction::triggered, this, [this] { frame_.HideAllTextViewers(); });
}

void TFullTextForm::OpenText(const std::string& name) {
  setWindowTitle(CorpusTextCaption(name));
  name_ = name;
  const int index = state_.corpus.IndexOf(name);
  try {
    if (index < 0) throw Exception(UnableToOpenFileMessage(name));
    TSynchroStream& source = *state_.corpus.Texts[static_cast<std::size_t>(index)].CorpusStreams;
    reader_ = std::make_unique<TBufStream>(&source, state_.ConcordConfig.DelimiterSet());
    reader_->ApplySettings(state_.ConcordConfig);
    // The counting thread announces every line; one notification at a time
    // is passed on, and the window reads the count when it arrives.
    lines_ = std::make_unique<TFileStrings>(
        source, *reader_,
        [this] {
          if (!lineNotePending_.exchange(true))
            QMetaObject::invokeMethod(this, [this] { LineCounted(); }, Qt::QueuedConnection);
        },
        [this] { QMetaObject::invokeMethod(this, [this] { CountDone(); }, Qt::QueuedConnection); });
    TextWindow->SetSource(lines_.get());
    opened_ = true;
  } catch (const Exception&) {
    TextWindow->SetSource(nullptr);
    opened_ = false;
    lines_.reset();
    reader_.reset();
  }
}

void TFullTextForm::LineCounted() {
  lineNotePending_ = false;
  // The view lays out again only while it is not full; otherwise just its
  // scroll range grows.
  if (lines_) TextWindow->ItemsChanged();
}

void TFullTextForm::CountDone() {
  if (!lines_) return;
  TextWindow->ItemsChanged();
  loaded_ = true;
  frame_.UpdateCommandStates();  // "&Print" may now be enabled
}

void TFullTextForm::ReleaseTexts() {
  // The list first: it stops the counting thread that reads the source.
  TextWindow->SetSource(nullptr);
  lines_.reset();
  reader_.reset();
  loaded_ = false;
}

void TFullTextForm::UpdateCommands(const BusyFlags& busy) { CMD_Print->setEnabled(loaded_ && !busy.IsBusy()); }

void TFullTextForm::TagSettingsChanged() {
  if (!reader_) return;
  reader_->ApplySettings(state_.ConcordConfig);
  TextWindow->RefreshView();
}

void TFullTextForm::ChangeFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, ToQFont(state_.General.CorpusFont), this);
  if (!ok) return;
  state_.General.CorpusFont = ToTFont(font, ToQColor(state_.General.CorpusFont.Color), state_.General.CorpusFont);
  TextWindow->setFont(font);
}

void TFullTextForm::ToggleWordWrap() { TextWindow->SetWordWrap(CMD_WordWrap->isChecked()); }

void TFullTextForm::ToggleSuppress(QAction* item) {
  QAction* others[2] = {};
  int k = 0;
  for (QAction* a : {CMD_SuppressTags, CMD_SuppressPartOfSpeech, CMD_SuppressWords})
    if (a != item) others[k++] = a;
  // The item has already flipped; turning on is refused while the other two are on.
  if (item->isChecked() && !SuppressMayTurnOn(others[0]->isChecked(), others[1]->isChecked())) {
    item->setChecked(false);
    return;
  }
  if (!lines_) return;
  lines_->SuppressTags = CMD_SuppressTags->isChecked();
  lines_->SuppressPartOfSpeech = CMD_SuppressPartOfSpeech->isChecked();
  lines_->SuppressWords = CMD_SuppressWords->isChecked();
  TextWindow->RefreshView();
}

void TFullTextForm::Print() {
  if (!lines_ || !loaded_) return;
  if (!ConfirmPrintCorpusText(state_.host, lines_->GetCount())) return;
  const int index = state_.corpus.IndexOf(name_);
  if (index < 0) return;
  TSynchroStream& source = *state_.corpus.Texts[static_cast<std::size_t>(index)].CorpusStreams;
  BusyScope busy(state_.Busy, BusyKind::Printing);
  printing_ = true;
  frame_.UpdateCommandStates();
  try {
    QtRawTextPrinter printer(frame_.Printer(), frame_.Codec());
    PrintRawText(state_.host, source, lines_->TextSize(), name_, printer);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    state_.host.ShowError(e.what());
  }
  printing_ = false;
}

void TFullTextForm::closeEvent(QCloseEvent* event) {
  if (printing_)
    event->ignore();
  else
    TChildForm::closeEvent(event);
}

}  // namespace korvane::gui
