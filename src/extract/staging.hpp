// A private working directory inside the output directory. It holds links to the input
// files under their own names, so that the routines read and write their fixed file names
// there; the outputs are then moved into the output directory together. The run holds the
// output directory's claim (the lock the dialogue takes on its log) from the start, so that
// no other run writes or publishes there meanwhile, and an output file appears whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::extract {

class Staging {
public:
    // Makes the output directory (and its parents) where there is none; an error text naming
    // it, empty on success.
    std::string make_output_dir(const std::filesystem::path& out_dir);

    // Claims the output directory, makes the working directory in `out_dir` and links each
    // input of `data_dir` into it. Returns an error text, empty on success. A claim that
    // another run holds is no error here: that run's files are not touched, and publish
    // then moves nothing.
    std::string create(const std::filesystem::path& out_dir, const std::filesystem::path& data_dir,
                       const std::vector<std::string_view>& inputs);

    const std::filesystem::path& dir() const { return dir_; }
    const std::filesystem::path& out_dir() const { return out_dir_; }

    // Moves the set of `outputs` that was written into the output directory, replacing
    // existing files only when `replace` is set, and removes the working directory. The set
    // moves as a whole: when another run holds the claim, when a written file cannot be
    // checked, or (without `replace`) when one of the names is taken, nothing is moved.
    // Returns the reasons, each naming where the new files are (the working directory then
    // stays, holding them).
    std::vector<std::string> publish(const std::vector<std::string_view>& outputs, bool replace);

    // Publishes nothing: removes the working directory with what it holds, and the output
    // directory too when this run made it and nothing else stands there.
    void abandon();

    // How many of the outputs the last publish put in place.
    int in_place() const { return in_place_; }

private:
    std::vector<std::string> written_outputs(const std::vector<std::string_view>& outputs,
                                             std::vector<std::string_view>& written) const;
    std::string link_all(const std::vector<std::string_view>& written);
    std::vector<std::string> rename_all(const std::vector<std::string_view>& written);
    void claim_output_dir();
    bool is_lock_file(const std::filesystem::path& path) const;

    std::filesystem::path out_dir_;
    std::filesystem::path dir_;
    // The empty log the claim made where nothing stood (device, inode), if it did.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> lock_file_;
    int in_place_ = 0;
    bool made_out_dir_ = false;
};

}  // namespace corvane::extract
