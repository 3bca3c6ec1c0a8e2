// The claim is an advisory lock on the log, held until the process ends: two runs in one
// directory would otherwise write the same three files at once and interleave them.
#include "app/output_claim.hpp"

#include <string>

#include "app/run_data.hpp"
#include "fmtio/statement_api.hpp"
#include "units/file_layer.hpp"
#include "units/termination.hpp"

namespace corvane::app {

void claim_output_files() {
    if (units::lock_for_process(std::string(log_file_name)) != units::ProcessLock::busy) return;
    using namespace fmtio;
    write(default_unit, fmt<"(/1x,'Another run is writing the output files in this directory: stopped.')">);
    units::stop_program(" ", exit_stopped);
}

}  // namespace corvane::app
