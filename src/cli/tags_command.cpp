// The tags command: collects the tag information of the loaded texts and
// prints, for every text, its name, its lines, its pages and its words.
#include <string>

#include "commands.h"
#include "app/errors.h"
#include "tags/indexed_stream.h"
#include "tags/tag_collector.h"

namespace korvane::cli {

namespace {

std::string RecordsOrNone(const TIndexSlot& slot) {
  return slot.Index ? std::to_string(slot.Index->RecordCount()) : "N/A";
}

}  // namespace

int RunTags(CommandContext& context, CommandArgs& args) {
  LoadTextArguments(context, args.Positionals());
  ProgramState& state = context.state;
  try {
    if (!CollectAllTagInfo(state)) return 1;
  } catch (const EAbort&) {
    return 1;
  } catch (const Exception& e) {
    state.host.ShowError(e.what());
    return 1;
  }
  context.out << "Text\tLines\tPages\tWords\n";
  for (const TCorpusText& text : state.corpus.Texts) {
    context.out << text.CorpusFiles << "\t" << RecordsOrNone(text.LineTables) << "\t"
                << RecordsOrNone(text.PageTables) << "\t" << text.WordCount << "\n";
  }
  return 0;
}

}  // namespace korvane::cli
