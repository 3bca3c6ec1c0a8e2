#include "units/record_io.hpp"

#include <algorithm>
#include <cstring>
#include <new>

#include "units/conditions.hpp"
#include "units/file_layer.hpp"
#include "units/record_limits.hpp"
#include "units/runtime_options.hpp"

namespace corvane::units {

namespace {

// Leaving a written buffer for reading: what was written goes to the file first.
int prepare_for_reading(ConnectionRecord& record) {
    if (record.buffer_state == BufferState::writing) {
        if (int err = flush_unit(record)) return err;
    }
    record.buffer_state = BufferState::reading;
    return 0;
}

// Leaving a read buffer for writing: output starts at the next byte the program would
// have read.
void prepare_for_writing(ConnectionRecord& record) {
    if (record.buffer_state == BufferState::reading && !record.interactive()) {
        reposition(record, logical_position(record));
    } else if (record.buffer_state == BufferState::reading) {
        record.data_length = 0;
        record.buffer_position = 0;
    }
    record.buffer_state = BufferState::writing;
}

// Rewrites a record in the scratch buffer when it holds tabs. The companion character
// goes only where it is part of the line end (CR LF; the LF of a CR LF read with CR as the
// terminator): anywhere else it is data, and dropping it would shift the fields after it.
// A record past the longest record, also once its tabs are expanded, is 10004.
int clean_record(const ConnectionRecord& record, const char* data, std::size_t length, RecordScratch& scratch,
                 RecordView& clean) {
    const LineEnd& line_end = runtime_options().line_end;
    if (length > 0 && data[length - 1] == line_end.companion) --length;
    if (length > 0 && line_end.terminator == '\r' && data[0] == line_end.companion) ++data, --length;
    // The buffer's room for the line end can hold one character more: still too long.
    if (length > max_record_length) return condition::buffer_allocation;
    const bool has_tab = record.tab_width > 0 && std::memchr(data, '\t', length) != nullptr;
    if (!has_tab) {
        clean = {data, length};
        return 0;
    }

    const auto tabs = static_cast<std::size_t>(std::count(data, data + length, '\t'));
    const auto width = static_cast<std::size_t>(record.tab_width);
    if (tabs > max_record_length / width || length + tabs * width > max_record_length)
        return condition::buffer_allocation;
    char* out = scratch.reserve(length + tabs * width);
    if (!out) return condition::buffer_allocation;
    std::size_t n = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char c = data[i];
        if (c == '\t') {
            do out[n++] = ' ';
            while (n % width != 0);
            continue;
        }
        out[n++] = c;
    }
    clean = {out, n};
    return 0;
}

}  // namespace

char* RecordScratch::reserve(std::size_t n) {
    if (n > capacity_) {
        const std::size_t capacity = n < 256 ? 256 : n;
        storage_.reset(new (std::nothrow) char[capacity]);
        capacity_ = storage_ ? capacity : 0;
    }
    return storage_.get();
}

std::int64_t logical_position(const ConnectionRecord& record) {
    if (record.buffer_state == BufferState::writing)
        return record.buffer_file_offset + record.data_length;
    return record.buffer_file_offset + record.buffer_position;
}

void reposition(ConnectionRecord& record, std::int64_t offset) {
    record.has_pending_input = false;
    record.buffer_file_offset = offset;
    record.data_length = 0;
    record.buffer_position = 0;
    record.buffer_state = BufferState::empty;
}

namespace {

// The characters of the next record up to its terminator, as they stand in the buffer.
int next_line(ConnectionRecord& record, RecordView& out) {
    if (int err = prepare_for_reading(record)) return err;
    const char terminator = runtime_options().line_end.terminator;
    for (;;) {
        const char* buffer = record.buffer.get();
        const auto start = static_cast<std::size_t>(record.buffer_position);
        const auto available = static_cast<std::size_t>(record.data_length) - start;
        if (const void* hit = std::memchr(buffer + start, terminator, available)) {
            const auto end = static_cast<std::size_t>(static_cast<const char*>(hit) - buffer);
            record.buffer_position = static_cast<std::int32_t>(end + 1);
            ++record.record_number;
            out = {buffer + start, end - start};
            return record_ok;
        }
        const std::int64_t added = fill_buffer_from_stream(record, record.buffer_position);
        if (added < 0) return record.error;
        if (added == 0) {
            if (record.data_length == record.buffer_position) return record_end_of_file;
            // A last line without a line end is still a record.
            const char* rest = record.buffer.get() + record.buffer_position;
            const auto length = static_cast<std::size_t>(record.data_length - record.buffer_position);
            record.buffer_position = record.data_length;
            ++record.record_number;
            out = {rest, length};
            return record_ok;
        }
    }
}

}  // namespace

int read_record(ConnectionRecord& record, RecordView& out, RecordScratch& scratch) {
    RecordView line;
    const int rc = next_line(record, line);
    if (rc == record_ok) return clean_record(record, line.data, line.length, scratch, out);
    return rc;
}

int read_raw_record(ConnectionRecord& record, RecordView& out) { return next_line(record, out); }

int write_record(ConnectionRecord& record, const char* data, std::size_t length, bool line_end) {
    if (length > static_cast<std::size_t>(record.record_length)) return condition::record_too_long;
    if (length > max_record_length) return condition::buffer_allocation;
    prepare_for_writing(record);
    const std::string_view end = line_end ? output_line_end(record) : std::string_view{};
    const std::size_t total = length + end.size();
    if (static_cast<std::size_t>(record.data_length) + total > static_cast<std::size_t>(record.buffer_size)) {
        if (int err = flush_unit(record)) return err;
        if (total > static_cast<std::size_t>(record.buffer_size)) {
            std::size_t size = std::max<std::size_t>(static_cast<std::size_t>(record.buffer_size), console_buffer_size);
            while (size < total) size *= 2;
            std::unique_ptr<char[]> bigger(new (std::nothrow) char[size]);
            if (!bigger) return condition::buffer_allocation;
            record.buffer = std::move(bigger);
            record.buffer_size = static_cast<std::int32_t>(size);
        }
        record.buffer_state = BufferState::writing;
    }
    char* into = record.buffer.get() + record.data_length;
    if (length > 0) std::memcpy(into, data, length);
    for (std::size_t i = 0; i < end.size(); ++i) into[length + i] = end[i];  // one or two characters
    record.data_length += static_cast<std::int32_t>(total);
    ++record.record_number;
    if (record.interactive()) return flush_unit(record);
    return 0;
}

int write_records(ConnectionRecord& record, std::span<const std::string_view> texts, std::size_t& written) {
    written = 0;
    if (texts.empty()) return 0;
    prepare_for_writing(record);
    const std::string_view end = output_line_end(record);
    const bool interactive = record.interactive();
    for (const std::string_view text : texts) {
        const std::size_t length = text.size();
        const std::size_t total = length + end.size();
        if (length > static_cast<std::size_t>(record.record_length) || length > max_record_length ||
            static_cast<std::size_t>(record.data_length) + total > static_cast<std::size_t>(record.buffer_size) ||
            interactive) {
            // The rare and the slow cases take the whole way.
            if (int err = write_record(record, text.data(), length, true)) return err;
            ++written;
            continue;
        }
        char* const into = record.buffer.get() + record.data_length;
        std::memcpy(into, text.data(), length);
        for (std::size_t i = 0; i < end.size(); ++i) into[length + i] = end[i];  // one or two characters
        record.data_length += static_cast<std::int32_t>(total);
        ++record.record_number;
        ++written;
    }
    return 0;
}

int flush_unit(ConnectionRecord& record) {
    if (record.buffer_state != BufferState::writing) return 0;
    if (!write_buffer_to_stream(record)) {
        record.data_length = 0;  // what could not be written is not written twice
        record.buffer_position = 0;
        return record.error;
    }
    return 0;
}

}  // namespace corvane::units

