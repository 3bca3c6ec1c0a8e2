// Records are parsed in place in the line source's buffer, which the internal READ reads.
#include "ghcn/ghcnm_data_file.hpp"

namespace corvane::ghcn {

ReadStatus DataFileReader::next(GhcnmRecord& record, ReadProblem& problem) {
    std::string_view line;
    const ReadStatus status = lines_.next(line, problem);
    if (status != ReadStatus::record) return status;
    std::string field, what;
    if (parse_data_record(lines_.line_chars(), line.size(), record, field, what)) return ReadStatus::record;
    problem = {lines_.path(), lines_.line_number(), field, what};
    return ReadStatus::problem;
}

}  // namespace corvane::ghcn
