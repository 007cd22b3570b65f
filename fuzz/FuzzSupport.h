#pragma once

// What the fuzz targets need: a way to report a finding and a scratch folder for the
// roster files they make.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace zelkor::fuzzing {

// Stops the run with the input that caused it saved by libFuzzer.
[[noreturn]] inline void finding(const std::string& what) {
    std::fprintf(stderr, "FINDING: %s\n", what.c_str());
    std::abort();
}

// A folder of this process's own under the temporary folder, removed at exit.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view prefix)
        : path_(std::filesystem::temp_directory_path() /
                (std::string(prefix) + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file of the folder, replacing it.
    void write(std::string_view name, std::string_view text) const {
        std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file) {
            finding("cannot write the scratch file " + std::string(name));
        }
    }

private:
    std::filesystem::path path_;
};

} // namespace zelkor::fuzzing
