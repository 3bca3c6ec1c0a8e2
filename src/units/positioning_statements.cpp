// REWIND, BACKSPACE and ENDFILE.
#include <algorithm>
#include <cstring>

#include "units/conditions.hpp"
#include "units/connection_statement.hpp"
#include "units/connection_statements.hpp"
#include "units/file_layer.hpp"
#include "units/record_io.hpp"
#include "units/runtime_options.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

constexpr std::int64_t step_back_block = 8192;

// Carries out `step` on the connected unit a positioning statement names (with the
// console mapping). An unconnected unit is not an error: nothing happens.
int position_unit(std::int32_t unit_number, int (*step)(ConnectionRecord&)) {
    if (unit_number < 0) return condition::illegal_unit;
    int error = 0;
    const int mapped = map_unit_number(unit_number, false, false, error);
    if (error) return error;
    ConnectionRecord* record = unit_table().find(mapped);
    return record ? step(*record) : 0;
}

// The byte at `offset`, from the buffer when it holds it, else from the file.
class BackwardReader {
public:
    explicit BackwardReader(ConnectionRecord& record) : record_(record) {}

    // The offset of the last terminator before `end` (exclusive), or -1 when there is none.
    std::int64_t find_terminator_before(std::int64_t end, char terminator) {
        std::int64_t at = end;
        while (at > 0) {
            const std::int64_t buffer_start = record_.buffer_file_offset;
            const std::int64_t buffer_end = buffer_start + record_.data_length;
            if (record_.buffer_state == BufferState::reading && at > buffer_start && at <= buffer_end) {
                const char* base = record_.buffer.get();
                for (std::int64_t i = at - 1; i >= buffer_start; --i) {
                    if (base[i - buffer_start] == terminator) return i;
                }
                at = buffer_start;
                continue;
            }
            const std::int64_t from = std::max<std::int64_t>(0, at - step_back_block);
            const std::int64_t got = file_read_at(record_, from, block_, at - from);
            if (got <= 0) return -1;  // a device we cannot read back: stay where we are
            for (std::int64_t i = from + got - 1; i >= from; --i) {
                if (block_[i - from] == terminator) return i;
            }
            at = from;
        }
        return -1;
    }

    char byte_at(std::int64_t offset) {
        const std::int64_t buffer_start = record_.buffer_file_offset;
        if (record_.buffer_state == BufferState::reading && offset >= buffer_start &&
            offset < buffer_start + record_.data_length)
            return record_.buffer[static_cast<std::size_t>(offset - buffer_start)];
        char c = 0;
        return file_read_at(record_, offset, &c, 1) == 1 ? c : 0;
    }

private:
    ConnectionRecord& record_;
    char block_[step_back_block];
};

int rewind(ConnectionRecord& record) {
    if (record.mode.access != Access::sequential) return 0;
    if (int err = flush_unit(record)) return err;
    if (record.interactive()) return 0;
    reposition(record, 0);
    record.record_number = 0;
    record.mode.truncate_pending = true;
    return 0;
}

// The start of the record before the unit's position: the terminator just before the
// position ends it (or the end of a file whose last line has none), and it starts after
// the terminator before that.
std::int64_t previous_record_start(ConnectionRecord& record, std::int64_t here) {
    const char terminator = runtime_options().line_end.terminator;
    BackwardReader reader(record);
    std::int64_t search_end = here;
    if (reader.byte_at(here - 1) == terminator) search_end = here - 1;
    return reader.find_terminator_before(search_end, terminator) + 1;
}

int backspace(ConnectionRecord& record) {
    if (record.mode.access == Access::direct) {
        if (record.record_number > 0) --record.record_number;
        record.mode.truncate_pending = true;
        return 0;
    }
    if (record.mode.form != Form::formatted) return 0;
    if (int err = flush_unit(record)) return err;
    const std::int64_t here = logical_position(record);
    if (here == 0) return 0;  // at the beginning of the file nothing changes
    const std::int64_t start = previous_record_start(record, here);
    if (record.buffer_state == BufferState::reading && start >= record.buffer_file_offset &&
        start <= record.buffer_file_offset + record.data_length) {
        record.buffer_position = static_cast<std::int32_t>(start - record.buffer_file_offset);
    } else if (!record.interactive()) {
        reposition(record, start);
    }
    record.has_pending_input = false;
    if (record.record_number > 0) --record.record_number;
    record.mode.truncate_pending = true;
    return 0;
}

int endfile(ConnectionRecord& record) {
    if (int err = flush_unit(record)) return err;
    if (record.interactive()) return 0;
    if (!file_truncate_at(record, logical_position(record))) return record.error;
    if (record.buffer_state == BufferState::reading)
        record.data_length = std::min<std::int32_t>(record.data_length, record.buffer_position);
    return 0;
}

}  // namespace

Outcome rewind_unit(std::int32_t unit_number, Control control) {
    const ConnectionStatement statement(StatementKind::rewind, unit(unit_number), control);
    return statement.finish(position_unit(unit_number, rewind));
}

Outcome backspace_unit(std::int32_t unit_number, Control control) {
    const ConnectionStatement statement(StatementKind::backspace, unit(unit_number), control);
    return statement.finish(position_unit(unit_number, backspace));
}

Outcome endfile_unit(std::int32_t unit_number, Control control) {
    const ConnectionStatement statement(StatementKind::endfile, unit(unit_number), control);
    return statement.finish(position_unit(unit_number, endfile));
}

}  // namespace corvane::units
