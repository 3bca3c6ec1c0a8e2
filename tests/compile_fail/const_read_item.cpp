// Built twice by the test suite: a READ into a const object must be refused; with
// CORVANE_WELLFORMED the same READ into a variable compiles.
#include <cstdint>

#include "fmtio/statement_api.hpp"

using namespace corvane::fmtio;

void read_count() {
#ifdef CORVANE_WELLFORMED
    std::int32_t count = 0;
#else
    const std::int32_t count = 0;
#endif
    read(unit(5), fmt<"(i4)">, count);
}

int main() { return 0; }
