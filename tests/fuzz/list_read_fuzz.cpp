// List-directed READ of arbitrary records into integer, real, logical, character and
// complex items, as the true/false answers of the dialogue are read.
//
// Input: a byte choosing the items (how many, and where in the list they start), then the
// records.
#include <cstdint>

#include "fmtio/io_statement.hpp"
#include "fuzz_support.hpp"

using namespace corvane;
using namespace corvane::fmtio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor in(data, size);
    const std::uint8_t choice = in.byte();
    // Logical first: the dialogue's own READ. Then every other kind.
    constexpr std::uint8_t kinds[] = {9, 2, 5, 12, 4, 1, 3, 7, 0, 11, 14, 10, 6, 8, 13, 15};
    fuzz::ItemSet items;
    const int count = 1 + (choice & 0x0f);
    const int first = choice >> 4;
    for (int i = 0; i < count; ++i) items.add(kinds[(first + i) % std::size(kinds)]);

    std::int32_t status = 0;
    fuzz::install_fuzz_console(in.rest());
    try {
        for (int statement = 0; statement < 3 && status != -1; ++statement) {
            current_statement().run(StatementKind::read, units::default_unit, units::with_iostat(status),
                                    list_directed, items.items().data(), items.items().size());
        }
    } catch (const fuzz::ProgramEnded&) {
    }
    return 0;
}
