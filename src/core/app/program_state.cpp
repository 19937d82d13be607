#include "app/program_state.h"

namespace korvane {

ProgramState::ProgramState(Host& h) : host(h) {
  Configuration.Set(ConfigStep::SearchOptions,
                    {[this](const IniFile& ini) { ConcordConfig.Load(ini); },
                     [this](IniFile& ini) { ConcordConfig.Save(ini); }});
  Configuration.Set(ConfigStep::Headings,
                    {[this](const IniFile& ini) { Headings.Read(ini, Language); },
                     [this](IniFile& ini) { Headings.Write(ini); }});
  Configuration.Set(ConfigStep::HeadingContextSearch,
                    {[this](const IniFile& ini) { HeadingContext.Read(ini); },
                     [this](IniFile& ini) { HeadingContext.Write(ini); }});
  Configuration.Set(ConfigStep::Sentences,
                    {[this](const IniFile& ini) { Sentences.Read(ini); },
                     [this](IniFile& ini) { Sentences.Write(ini); }});
  // The language comes last; the sentence exceptions are lower-cased in it.
  Configuration.Set(ConfigStep::Language, {[this](const IniFile& ini) {
                                             Language.Read(ini, ConcordConfig);
                                             Sentences.NormaliseExceptions(Language);
                                           },
                                           [this](IniFile& ini) { Language.Write(ini); }});
}

}  // namespace korvane
