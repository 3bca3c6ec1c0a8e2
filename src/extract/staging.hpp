// A private working directory inside the output directory. It holds links to the input
// files under their own names, so that the routines read and write their fixed file names
// there; the outputs are then moved into the output directory. Runs into one output
// directory thus never write into each other's files, and an output file appears whole.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::extract {

class Staging {
public:
    // Makes the directory in `out_dir` and links each input of `data_dir` into it. Returns
    // an error text, empty on success.
    std::string create(const std::filesystem::path& out_dir, const std::filesystem::path& data_dir,
                       const std::vector<std::string_view>& inputs);

    const std::filesystem::path& dir() const { return dir_; }

    // Moves each of `outputs` that was written into the output directory, replacing an
    // existing file only when `replace` is set, and removes the working directory. Returns
    // the files that could not be moved, each with the reason (the working directory then
    // stays, holding them).
    std::vector<std::string> publish(const std::vector<std::string_view>& outputs, bool replace);

private:
    std::filesystem::path out_dir_;
    std::filesystem::path dir_;
};

}  // namespace corvane::extract
