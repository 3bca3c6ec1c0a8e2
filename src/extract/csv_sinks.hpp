// The tables of an extraction of versions 3 and 4 as series sinks: values.csv in long form
// (a row for every month of every record, exact decimals, the unit in the header, the
// three flags), failed_values.csv (the values whose QC flag marks a failed check, with the
// flag's meaning) and stations.csv (a row per selected station, nearest first with a
// place). Every row is a record written through the record run-time's units, so that an
// interruption or an error exit leaves each table ending on a whole row.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "extract/series_sink.hpp"
#include "extract/table_names.hpp"
#include "extract/written_digest.hpp"

namespace corvane::extract {

class ValuesCsvSink : public SeriesSink {
public:
    explicit ValuesCsvSink(std::string file_name) : file_(std::move(file_name)) {}
    void begin(const VariableInfo& variable) override;
    void value(const ValueRow& row) override;
    void values(std::span<const ValueRow> rows) override;
    bool finish(std::string& error) override;

private:
    static std::size_t row_room(const ValueRow& row);
    char* put_row(char* at, const ValueRow& row) const;

    std::string file_;
    int decimals_ = 2;
    bool flags_ = true;
    bool open_ = false;
    std::vector<char> text_;  // the rows of the statement being written
    std::vector<std::string_view> row_views_;
    WrittenDigest digest_;
};

class FailedValuesCsvSink : public SeriesSink {
public:
    // `meaning` names a QC letter's meaning.
    FailedValuesCsvSink(std::string file_name, std::function<std::string(char)> meaning)
        : file_(std::move(file_name)), meaning_(std::move(meaning)) {}
    void begin(const VariableInfo& variable) override;
    void value(const ValueRow& row) override;
    void values(std::span<const ValueRow> rows) override;
    bool finish(std::string& error) override;

private:
    std::string file_;
    std::function<std::string(char)> meaning_;
    int decimals_ = 2;
    bool open_ = false;
    WrittenDigest digest_;
};

class StationsCsvSink : public SeriesSink {
public:
    StationsCsvSink(std::string file_name, bool with_distance)
        : file_(std::move(file_name)), distance_(with_distance) {}
    void begin(const VariableInfo& variable) override;
    void station(const StationRow& row) override;
    bool finish(std::string& error) override;

private:
    std::string file_;
    bool distance_ = false;
    bool open_ = false;
    WrittenDigest digest_;
};

}  // namespace corvane::extract
