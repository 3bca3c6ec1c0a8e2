// An output file written under a temporary name beside its final one and renamed into
// place only when complete, so that no half-written file ever stands under the final name.
// The final name is not replaced unless the run allows it, as for every other output.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::extract {

class StagedFile {
public:
    StagedFile(std::filesystem::path final_path, bool replace);
    ~StagedFile();  // removes the temporary file unless it was committed
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::filesystem::path& temporary() const { return temporary_; }
    const std::filesystem::path& final_path() const { return final_; }

    // Whether the final name may be written: its directory exists and takes a new file, and
    // the name is free (or may be replaced). An error text naming the path, empty when fine.
    std::string check() const;
    // Moves the temporary file to the final name; an error text, empty on success. A file
    // that cannot take the final name is removed: the name keeps what it held.
    std::string commit();
    void discard();

private:
    std::filesystem::path final_;
    std::filesystem::path temporary_;
    bool replace_;
    bool committed_ = false;
};

}  // namespace corvane::extract
