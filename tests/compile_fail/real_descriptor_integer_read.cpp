// Built twice by the test suite: a READ that gives an F descriptor an integer must be refused
// (input fits only reals under F); the array's third element is the one that meets it, after
// the repeat 2I3. With CORVANE_WELLFORMED the repeat covers all three and the READ compiles.
#include <array>
#include <cstdint>

#include "fmtio/statement_api.hpp"

using namespace corvane::fmtio;

void read_values() {
    std::array<std::int32_t, 3> values{};
    float mean = 0;
#ifdef CORVANE_WELLFORMED
    read(unit(5), fmt<"(3i3,f5.1)">, values, mean);
#else
    read(unit(5), fmt<"(2i3,f5.1)">, values, mean);
#endif
}

int main() { return 0; }
