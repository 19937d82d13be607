#include "app/program_state.h"

namespace korvane {

ProgramState::ProgramState(Host& h) : host(h) {
  Configuration.Set(ConfigStep::SearchOptions,
                    {[this](const IniFile& ini) { ConcordConfig.Load(ini); },
                     [this](IniFile& ini) { ConcordConfig.Save(ini); }});
}

}  // namespace korvane
