// The designed extraction, kept in the tests as the reference for getit's fast path.
#pragma once

#include "app/run_data.hpp"

namespace corvane::testing {

void reference_getit(app::RunData& run);

}  // namespace corvane::testing
