// Built twice by the test suite: as it stands it must be refused by the compiler; with
// CORVANE_WELLFORMED it must compile, so the refusal is the format's doing.
#include "fmtio/constant_format.hpp"

#ifdef CORVANE_WELLFORMED
constexpr auto ok = corvane::fmtio::fmt<"(1x,'unterminated text')">;
#else
constexpr auto bad = corvane::fmtio::fmt<"(1x,'unterminated text)">;
#endif

int main() { return 0; }
