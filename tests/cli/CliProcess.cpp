#include "cli/CliProcess.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor::test {

namespace {

constexpr int ExecFailedStatus = 127; // what a shell reports for a program it cannot run

using TempFile = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

TempFile openTempFile() {
    TempFile file(std::tmpfile(), &std::fclose);
    if (!file) {
        throw std::runtime_error("cannot create a temporary file");
    }
    return file;
}

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    return text;
}

} // namespace

CliResult runCli(const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory, const char* stdoutFile,
                 const std::function<void(pid_t)>& whileRunning) {
    // Files rather than pipes: the child can write any amount to both without blocking.
    const TempFile out = openTempFile();
    const TempFile err = openTempFile();

    std::vector<std::string> words{ZELKOR_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("fork failed");
    }
    if (child == 0) {
        const int stdoutTarget = stdoutFile ? open(stdoutFile, O_WRONLY) : fileno(out.get());
        if (stdoutTarget < 0 || dup2(stdoutTarget, STDOUT_FILENO) < 0 ||
            dup2(fileno(err.get()), STDERR_FILENO) < 0 ||
            (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0)) {
            _exit(ExecFailedStatus);
        }
        execv(argv[0], argv.data());
        _exit(ExecFailedStatus);
    }

    if (whileRunning) {
        whileRunning(child);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        throw std::runtime_error("waitpid failed");
    }
    CliResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readAll(out.get());
    result.err = readAll(err.get());
    return result;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zelkor-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    std::ofstream file(path_ / name, std::ios::binary);
    file << content;
    if (!file) {
        throw std::runtime_error("cannot write " + (path_ / name).string());
    }
}

std::string sampleRoster(const std::string& code) {
    std::ifstream file(std::filesystem::path(ZELKOR_SAMPLE_ROSTERS) / code, std::ios::binary);
    if (!file) {
        throw std::runtime_error("no sample roster " + code);
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace zelkor::test
