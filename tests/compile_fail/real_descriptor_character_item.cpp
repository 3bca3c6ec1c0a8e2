// Built twice by the test suite: a character item that meets an F descriptor must be refused.
// It meets it through the format's repeat count (2F) and again after the reversion to the
// last group, where the run time would raise 10022; with CORVANE_WELLFORMED the items are
// reals and the WRITE compiles.
#include <cstdint>

#include "fmtio/statement_api.hpp"

using namespace corvane::fmtio;

void write_station(const Text<4>& name, std::int32_t id, float lat, float lon) {
#ifdef CORVANE_WELLFORMED
    const float last = 1.5f;
#else
    const Text<4>& last = name;
#endif
    write(unit(6), fmt<"(1x,a4/(i3,2f6.1))">, name, id, lat, lon, id, lat, last);
}

int main() { return 0; }
