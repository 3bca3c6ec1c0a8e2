// An output file written under a temporary name beside its final one and renamed into
// place only when complete, so that no half-written file ever stands under the final name.
// The final name is not replaced unless the run allows it, as for every other output. A run
// that writes several such files places them one by one and can take them back again until
// it settles them, so that they appear together or not at all.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::extract {

class StagedFile {
public:
    StagedFile(std::filesystem::path final_path, bool replace);
    ~StagedFile();  // removes the temporary file unless it was placed; settles a placed one
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
    // As commit, but what the final name held is kept aside until settle() drops it or
    // retract() puts it back.
    std::string place();
    // Undoes place(): the final name holds again what it held before, or nothing.
    void retract();
    void settle();
    void discard();

private:
    void release_placed();

    std::filesystem::path final_;
    std::filesystem::path temporary_;
    std::filesystem::path previous_;  // what the final name held, while placed
    bool replace_;
    bool placed_ = false;
    bool kept_previous_ = false;
    // The placed file held open, so that retract knows it (its inode cannot be reused meanwhile).
    int placed_fd_ = -1;
};

}  // namespace corvane::extract
