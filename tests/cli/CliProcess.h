#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zelkor::test {

// What one run of zelkor-cli gave back.
struct CliResult {
    int exitStatus = -1; ///< the exit status, or -1 if the program did not exit normally
    std::string out;     ///< everything written to stdout
    std::string err;     ///< everything written to stderr
};

// Runs the built zelkor-cli with the arguments, in workingDirectory if one is given; with
// stdoutFile (such as /dev/full), stdout goes there instead of being captured.
// whileRunning is called with the child's process id once it has started.
CliResult runCli(const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory = {},
                 const char* stdoutFile = nullptr,
                 const std::function<void(pid_t)>& whileRunning = {});

// A fresh empty folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file of that name and content into the folder.
    void write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};

// The text of a sample roster file.
std::string sampleRoster(const std::string& code);

} // namespace zelkor::test
