// The log of an extraction of versions 3 and 4, in the spirit of version 2's log file: the
// variable, the files read with their sizes and the files passed over, the criteria, the
// QC policy, and at the end the stations selected and found and the values written and
// dropped; where the run stopped on a file it could not read. A series sink, so that it
// counts what the tables receive.
#pragma once

#include <cstdint>
#include <string>

#include "extract/series_sink.hpp"

namespace corvane::extract {

class RunLog : public SeriesSink {
public:
    // Opens the log in the working directory; false when it cannot be opened.
    bool open(const std::string& file_name);
    // A line of the log's head, written at once.
    void line(const std::string& text);
    // Where and why the run stopped, written before the totals.
    void stopped(const std::string& text) { stopped_ = text; }

    void value(const ValueRow& row) override;
    void values(std::span<const ValueRow> rows) override;
    void station(const StationRow& row) override;
    bool finish(std::string& error) override;

    std::int64_t values_written() const { return values_; }
    std::int64_t values_dropped() const { return dropped_; }
    std::int64_t stations_selected() const { return selected_; }
    std::int64_t stations_found() const { return found_; }

private:
    std::string file_;
    bool open_ = false;
    std::string stopped_;
    std::int64_t values_ = 0, dropped_ = 0, selected_ = 0, found_ = 0;
};

}  // namespace corvane::extract
