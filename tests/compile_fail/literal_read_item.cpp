// Built twice by the test suite: a READ into a string literal must be refused; with
// CORVANE_WELLFORMED the same READ into a character variable compiles.
#include "fmtio/statement_api.hpp"

using namespace corvane::fmtio;

void read_name() {
#ifdef CORVANE_WELLFORMED
    Text<3> name;
    read(unit(5), fmt<"(a3)">, name);
#else
    read(unit(5), fmt<"(a3)">, "abc");
#endif
}

int main() { return 0; }
