#include "app/program_state.h"

#include "results/advanced_sort_settings.h"
#include "search/batch_search.h"
#include "tags/word_tag_settings.h"

namespace korvane {

ProgramState::ProgramState(Host& h) : host(h) {
  Configuration.Set(ConfigStep::SearchOptions,
                    {[this](const IniFile& ini) { ConcordConfig.Load(ini); },
                     [this](IniFile& ini) { ConcordConfig.Save(ini); }});
  Configuration.Set(ConfigStep::AdvancedSortColloc,
                    {[this](const IniFile& ini) {
                       ReadAdvancedSort(ini, ConcordConfig.AdvancedSortOptions,
                                        ConcordConfig.AdvancedSortOptions.Custom);
                       ReadAdvancedColloc(ini, ConcordConfig.AdvancedCollocOptions, AdvancedCollocExtras);
                     },
                     [this](IniFile& ini) {
                       WriteAdvancedSort(ini, ConcordConfig.AdvancedSortOptions,
                                         ConcordConfig.AdvancedSortOptions.Custom);
                       WriteAdvancedColloc(ini, ConcordConfig.AdvancedCollocOptions, AdvancedCollocExtras);
                     }});
  Configuration.Set(ConfigStep::Headings,
                    {[this](const IniFile& ini) { Headings.Read(ini, Language); },
                     [this](IniFile& ini) { Headings.Write(ini); }});
  Configuration.Set(ConfigStep::BatchSearch,
                    {[this](const IniFile& ini) { ReadBatchOptions(ini, ConcordConfig); },
                     [this](IniFile& ini) { WriteBatchOptions(ini, ConcordConfig); }});
  Configuration.Set(ConfigStep::HeadingContextSearch,
                    {[this](const IniFile& ini) { HeadingContext.Read(ini); },
                     [this](IniFile& ini) { HeadingContext.Write(ini); }});
  Configuration.Set(ConfigStep::TagSettings,
                    {[this](const IniFile& ini) { ReadTagSettings(ini, ConcordConfig, WatchedTags); },
                     [this](IniFile& ini) { WriteTagSettings(ini, ConcordConfig, WatchedTags); }});
  Configuration.Set(ConfigStep::WordTagSettings,
                    {[this](const IniFile& ini) { ReadWordTagSettings(ini, ConcordConfig); },
                     [this](IniFile& ini) { WriteWordTagSettings(ini, ConcordConfig); }});
  Configuration.Set(ConfigStep::Sentences,
                    {[this](const IniFile& ini) { Sentences.Read(ini); },
                     [this](IniFile& ini) { Sentences.Write(ini); }});
  Configuration.Set(ConfigStep::StopList, {[this](const IniFile& ini) { StopList.Read(ini, host); },
                                           [this](IniFile& ini) { StopList.Write(ini); }});
  Configuration.Set(ConfigStep::FrequencyOptions,
                    {[this](const IniFile& ini) { FreqSettings.Read(ini, StopList, corpus.CountWordsWhileLoading); },
                     [this](IniFile& ini) { FreqSettings.Write(ini, corpus.CountWordsWhileLoading); }});
  // The language comes last; the sentence exceptions are lower-cased in it.
  Configuration.Set(ConfigStep::Language, {[this](const IniFile& ini) {
                                             Language.Read(ini, ConcordConfig);
                                             Sentences.NormaliseExceptions(Language);
                                           },
                                           [this](IniFile& ini) { Language.Write(ini); }});
}

}  // namespace korvane
