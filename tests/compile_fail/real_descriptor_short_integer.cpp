// Built twice by the test suite: a 2-byte integer under an E descriptor must be refused (the
// run time would raise 10022); with CORVANE_WELLFORMED the integer has 4 bytes, which a WRITE
// edits as the real of its value, and the statement compiles.
#include <array>
#include <cstdint>

#include "fmtio/statement_api.hpp"

using namespace corvane::fmtio;

void write_values() {
#ifdef CORVANE_WELLFORMED
    const std::array<std::int32_t, 3> values{1, 2, 3};
#else
    const std::array<std::int16_t, 3> values{1, 2, 3};
#endif
    write(unit(6), fmt<"(i5,e10.3)">, values);  // the second element meets E10.3
}

int main() { return 0; }
