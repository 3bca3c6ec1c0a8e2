// Output editing: one item element under a data descriptor, and the control descriptors.
#pragma once

#include "fmtio/edit_state.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/record_writer.hpp"

namespace corvane::fmtio {

using units::condition::type_mismatch;

// Writes the element at `element` (of the item's type) under descriptor `e`.
// Returns 0 or a condition code.
int edit_output(RecordWriter& out, const EditState& state, const FormatEntry& e, const IoItem& item,
                const void* element);

// Sets the modes and moves the position for X, T, TL, TR, P, S, SP, SS, BN, BZ, "$";
// writes literals. Record ends ("/") and ":" are the statement's business.
void execute_output_control(RecordWriter& out, EditState& state, const FormatEntry& e, FormatRef format);

// List-directed output of one element; `after_character` tells whether the previous item
// of the record was a character value.
int list_output(RecordWriter& out, const EditState& modes, const IoItem& item, const void* element,
                bool& after_character);

}  // namespace corvane::fmtio
