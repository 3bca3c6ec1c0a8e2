// Where the end-to-end fixtures and the bundled data sets are, and copying a data set into
// a scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "test_support.hpp"

namespace corvane::testing {

inline std::filesystem::path fixtures_dir() { return CORVANE_FIXTURES_DIR; }
inline std::filesystem::path base_data_dir() { return fixtures_dir() / "data" / "ghcn-v2"; }
inline std::filesystem::path sample_data_dir() { return std::filesystem::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample"; }

// The file's bytes, or nothing when it is not a regular file.
inline std::optional<std::string> file_text(const std::filesystem::path& path) {
    if (!std::filesystem::is_regular_file(path)) return std::nullopt;
    return read_file(path.string());
}

// The data set's files (v2.*) from `from` into `to`, replacing files of the same name.
inline void copy_data_files(const std::filesystem::path& from, const std::filesystem::path& to) {
    ASSERT_TRUE(std::filesystem::is_directory(from)) << from;
    for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(from)) {
        if (e.is_regular_file() && e.path().filename().string().starts_with("v2.")) {
            std::filesystem::copy_file(e.path(), to / e.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
        }
    }
}

}  // namespace corvane::testing
