#include "units/unit_table.hpp"

#include <algorithm>

#include "units/conditions.hpp"
#include "units/connection_statements.hpp"
#include "units/console_streams.hpp"
#include "units/file_layer.hpp"
#include "units/output_tap.hpp"
#include "units/record_io.hpp"
#include "units/runtime_options.hpp"

namespace corvane::units {

ConnectionRecord* UnitTable::find(int unit_number) {
    if (last_found_ && last_found_->unit_number == unit_number) return last_found_;
    for (const auto& record : records_) {
        if (record->unit_number == unit_number) {
            last_found_ = record.get();
            return last_found_;
        }
    }
    return nullptr;
}

ConnectionRecord& UnitTable::append(std::unique_ptr<ConnectionRecord> record) {
    records_.push_back(std::move(record));
    return *records_.back();
}

void UnitTable::remove(const ConnectionRecord* record) {
    if (last_found_ == record) last_found_ = nullptr;
    std::erase_if(records_, [record](const auto& r) { return r.get() == record; });
}

bool set_output_tap(int unit_number, OutputTap* tap) {
    ConnectionRecord* record = unit_table().find(unit_number);
    if (!record) return false;
    record->output_tap = tap;
    return true;
}

void drop_output_tap(int unit_number, const OutputTap* tap) {
    ConnectionRecord* record = unit_table().find(unit_number);
    if (record && record->output_tap == tap) record->output_tap = nullptr;
}

UnitTable& unit_table() {
    static UnitTable table;
    return table;
}

namespace {

ConnectionRecord& make_console_unit(int code) {
    auto record = std::make_unique<ConnectionRecord>();
    record->unit_number = code;
    record->stream = &console_stream(code);
    record->mode.can_read = code == unit_console_in;
    record->mode.can_write = code != unit_console_in;
    record->mode.is_character_device = true;
    record->mode.carriage_control = runtime_options().default_carriage;
    record->tab_width = tab_size();
    allocate_buffer(*record, console_buffer_size);
    return unit_table().append(std::move(record));
}

}  // namespace

ConnectionRecord& console_unit(int code) {
    if (ConnectionRecord* found = unit_table().find(code)) return *found;
    if (code == unit_console_err) return make_console_unit(code);
    // The input and output console units come into being together.
    ConnectionRecord* in = unit_table().find(unit_console_in);
    ConnectionRecord* out = unit_table().find(unit_console_out);
    if (!in) in = &make_console_unit(unit_console_in);
    if (!out) out = &make_console_unit(unit_console_out);
    return code == unit_console_in ? *in : *out;
}

int map_unit_number(int unit_number, bool for_read, bool in_data_transfer, int& error) {
    error = 0;
    if (unit_number == unit_default && in_data_transfer)
        return for_read ? unit_console_in : unit_console_out;
    if (unit_number < 0) {
        error = condition::illegal_unit;
        return 0;
    }
    if (unit_table().find(unit_number)) return unit_number;
    switch (unit_number) {
        case 5: return unit_console_in;
        case 6: return unit_console_out;
        case 0: return unit_console_err;
        case 9:
            if (!runtime_options().unit9_not_preconnected) return for_read ? unit_console_in : unit_console_out;
            return unit_number;
        default: return unit_number;
    }
}

ConnectionRecord* unit_for_transfer(int unit_number, bool for_read, int& error) {
    if (unit_number >= 0) {  // a connected unit maps to itself: the usual case, found at once
        if (ConnectionRecord* found = unit_table().find(unit_number)) {
            error = 0;
            return found;
        }
    }
    const int mapped = map_unit_number(unit_number, for_read, true, error);
    if (error) return nullptr;
    if (mapped < 0) return &console_unit(mapped);
    if (ConnectionRecord* found = unit_table().find(mapped)) return found;
    return connect_implicitly(mapped, error);
}

int close_all_units(bool keep_console_units) {
    int first_error = 0;
    UnitTable& table = unit_table();
    // Closing removes records; walk a snapshot of the table order.
    std::vector<ConnectionRecord*> order;
    for (const auto& record : table.records()) order.push_back(record.get());
    for (ConnectionRecord* record : order) {
        if (record->unit_number < 0 && record->unit_number >= unit_console_err) {
            if (int err = flush_unit(*record); err && !first_error) first_error = err;
            if (keep_console_units) continue;
            table.remove(record);
            continue;
        }
        if (int err = close_connection(*record, false); err && !first_error) first_error = err;
    }
    return first_error;
}

int write_out_file_units() {
    int first_error = 0;
    for (const auto& record : unit_table().records()) {
        if (record->interactive() || record->data_length == 0) continue;
        if (int err = flush_unit(*record); err && !first_error) first_error = err;
    }
    return first_error;
}

}  // namespace corvane::units
