// The files beside the output directory are placed first, where they can still be taken
// back; the output directory's files then move as one set, and the placed files are settled
// or, when that set could not move, taken back.
#include "extract/run_publication.hpp"

#include <algorithm>

#include "extract/staged_file.hpp"

namespace corvane::extract {

namespace {

std::vector<std::string_view> tables_and_logs(const std::vector<std::string_view>& outputs, const MoreOutputs& more) {
    std::vector<std::string_view> kept;
    for (std::string_view name : outputs) {
        if (std::find(more.files.begin(), more.files.end(), name) == more.files.end()) kept.push_back(name);
    }
    return kept;
}

// Every staged file under its final name, or none; the reason, empty on success.
std::string place_all(const std::vector<StagedFile*>& files) {
    for (auto it = files.begin(); it != files.end(); ++it) {
        std::string failure = (*it)->place();
        if (failure.empty()) continue;
        std::for_each(files.begin(), it, [](StagedFile* f) { f->retract(); });
        std::for_each(it, files.end(), [](StagedFile* f) { f->discard(); });
        return failure;
    }
    return {};
}

}  // namespace

RunEnd run_end(bool data_complete, bool outputs_complete) {
    if (!data_complete) return RunEnd::stopped;
    return outputs_complete ? RunEnd::complete : RunEnd::failed;
}

Publication publish_run(Staging& staging, const std::vector<std::string_view>& outputs, const MoreOutputs& more,
                        RunEnd end, bool replace) {
    Publication p;
    if (end != RunEnd::complete) {
        for (StagedFile* f : more.staged) f->discard();
        if (end == RunEnd::failed) {
            staging.abandon();
            return p;
        }
        p.names = tables_and_logs(outputs, more);
        p.withheld = more.placed_files;
        for (std::string_view name : more.files) p.withheld.push_back(staging.out_dir() / name);
        p.failures = staging.publish(p.names, replace);
        return p;
    }
    if (std::string failure = place_all(more.staged); !failure.empty()) {
        p.failures.push_back(failure);
        staging.abandon();
        return p;
    }
    p.names = outputs;
    p.failures = staging.publish(outputs, replace);
    for (StagedFile* f : more.staged) {
        if (p.failures.empty()) f->settle();
        else f->retract();
    }
    if (p.failures.empty()) p.placed = more.placed_files;
    return p;
}

std::string withheld_line(const Publication& published) {
    std::string names;
    for (const std::filesystem::path& path : published.withheld) names += (names.empty() ? "" : ", ") + path.string();
    return names.empty() ? names : names + ": not written, since the run did not complete";
}

}  // namespace corvane::extract
