#include "app/config_file.h"

#include "app/program_state.h"

namespace korvane {
// Being written.
}  // namespace korvane
