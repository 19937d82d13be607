// What the corpus loader and korvane-cli need of the network client: opening
// the live source of a URL text, telling live downloads from cached copies,
// and waiting until every running download has ended.
#pragma once

#include <memory>
#include <string>

namespace korvane {

class ProgramState;
class TSynchroStream;

// Starts downloading the URL text name and returns its source once the
// server's response header has arrived; name becomes the URL after any
// redirection. The download goes on in the background (counted in
// UnfinishedURLs while it runs). User-interface thread only; lets pending
// messages run. Throws EInetError with the user's message, EAbort when
// StopURLLoading is set meanwhile (to be ended silently), Exception when the
// download file cannot be made; name is unchanged then.
std::unique_ptr<TSynchroStream> OpenURLText(ProgramState& state, std::string& name);

// The source is a live download (a TInetSynchroStream), running or ended,
// rather than a file or a cached copy of a URL document.
bool IsLiveDownload(const TSynchroStream& stream);
// The source is a live download whose transfer still runs.
bool IsDownloading(const TSynchroStream& stream);

// Waits until no download of the corpus runs any more (UnfinishedURLs is
// 0), letting pending messages run so the downloads go on. Shows a progress
// object ("Loading URL(s)"); its Cancel is "Stop Loading URL(s)": it sets
// StopURLLoading, every download ends at its next poll and keeps what
// arrived, and the wait ends. Afterwards each download that failed during
// the wait has its error shown. User-interface thread only.
void WaitForURLDownloads(ProgramState& state);

}  // namespace korvane
