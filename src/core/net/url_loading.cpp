// Opening URL texts and waiting for downloads; see url_loading.h.
#include "net/url_loading.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/host.h"
#include "app/program_state.h"
#include "net/inet_errors.h"
#include "net/inet_synchro_stream.h"

namespace korvane {
namespace {

// How long one wait for the downloads lasts before the progress is redrawn.
constexpr int kDownloadWaitSliceMs = 50;

const TInetSynchroStream* AsDownload(const TSynchroStream* stream) {
  return dynamic_cast<const TInetSynchroStream*>(stream);
}

// The percentage of the running downloads' bytes that arrived; 0 while one
// of their sizes is undetermined.
int DownloadPercent(const Corpus& corpus) {
  std::int64_t received = 0;
  std::int64_t total = 0;
  for (const TCorpusText& text : corpus.Texts) {
    const TInetSynchroStream* download = AsDownload(text.CorpusStreams.get());
    if (download == nullptr || !download->Downloading()) continue;
    const std::int32_t size = download->TotalSize();
    if (size == kUndeterminedSize) return 0;
    received += download->Received();
    total += size;
  }
  return total > 0 ? static_cast<int>(received * 100 / total) : 0;
}

}  // namespace

std::unique_ptr<TSynchroStream> OpenURLText(ProgramState& state, std::string& name) {
  auto stream = std::make_unique<TInetSynchroStream>(state, name);
  name = stream->URL();
  return stream;
}

bool IsLiveDownload(const TSynchroStream& stream) { return AsDownload(&stream) != nullptr; }

bool IsDownloading(const TSynchroStream& stream) {
  const TInetSynchroStream* download = AsDownload(&stream);
  return download != nullptr && download->Downloading();
}

void WaitForURLDownloads(ProgramState& state) {
  Corpus& corpus = state.corpus;
  if (corpus.UnfinishedURLs <= 0) return;
  // The downloads running now; only their failures are reported below.
  std::vector<const TSynchroStream*> running;
  for (const TCorpusText& text : corpus.Texts)
    if (text.CorpusStreams && IsDownloading(*text.CorpusStreams)) running.push_back(text.CorpusStreams.get());

  {
    std::unique_ptr<TProgressForm> progress = state.host.CreateProgress(false);
    progress->Caption = LoadingURLsCaption();
    progress->Show();
    std::string shownLabel;
    int shownPercent = -1;
    while (corpus.UnfinishedURLs > 0) {
      const std::string label = WaitingForURLsLabel(corpus.UnfinishedURLs);
      const int percent = DownloadPercent(corpus);
      if (label != shownLabel || percent != shownPercent) {
        progress->ProgressLabel = shownLabel = label;
        progress->ProgressBar = shownPercent = percent;
        progress->Update();
      }
      LetPendingMessagesRun(state.host, kDownloadWaitSliceMs);
      if (progress->Tag != 0) corpus.StopURLLoading = true;
    }
  }

  // Texts may have gone while messages ran: look the sources up again.
  for (const TCorpusText& text : corpus.Texts) {
    const TInetSynchroStream* download = AsDownload(text.CorpusStreams.get());
    if (download != nullptr && download->Failed() &&
        std::find(running.begin(), running.end(), text.CorpusStreams.get()) != running.end())
      state.host.ShowError(download->ErrorText());
  }
}

}  // namespace korvane
