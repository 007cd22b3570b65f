#pragma once

#include <array>
#include <filesystem>
#include <streambuf>
#include <system_error>

namespace zelkor {

// A regular file read through a fixed buffer. Opening never waits: a pipe or device put
// in the file's place is refused, not read, and the type is judged on the file actually
// opened. A read error throws std::system_error with the system's reason.
class RegularFileBuffer final : public std::streambuf {
public:
    // Why a file could not be opened.
    enum class Refusal {
        None,           ///< open
        NotFound,       ///< no file of that name (or no folder holding it)
        Folder,         ///< a folder, not a file
        NotRegularFile, ///< a pipe, a device or a socket
        SystemError,    ///< the system refused it; error() says why
    };

    RegularFileBuffer() = default;
    // Takes over an open descriptor, as if it had been opened here.
    explicit RegularFileBuffer(int descriptor) : descriptor_(descriptor) {}
    ~RegularFileBuffer() override;
    RegularFileBuffer(const RegularFileBuffer&) = delete;
    RegularFileBuffer& operator=(const RegularFileBuffer&) = delete;

    // Opens path for reading; false when refused, with refusal() and error() saying why.
    bool open(const std::filesystem::path& path);

    Refusal refusal() const { return refusal_; }
    std::error_code error() const { return error_; }
    // What kind of file a NotRegularFile refusal met ("a named pipe"), for messages.
    const char* kind() const { return kind_; }

protected:
    int_type underflow() override;

private:
    // Bytes per read: a whole roster file as a rule, and four times the longest item.
    static constexpr std::size_t BufferSize = 16 * 1024;

    int descriptor_ = -1;
    Refusal refusal_ = Refusal::None;
    std::error_code error_;
    const char* kind_ = "";
    std::array<char, BufferSize> buffer_{};
};

} // namespace zelkor
