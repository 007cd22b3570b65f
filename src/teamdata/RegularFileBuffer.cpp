#include "teamdata/RegularFileBuffer.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a named pipe";
    }
    if (S_ISCHR(mode)) {
        return "a character device";
    }
    if (S_ISBLK(mode)) {
        return "a block device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a plain file";
}

} // namespace

RegularFileBuffer::~RegularFileBuffer() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool RegularFileBuffer::open(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a pipe without a writer, or a device, must not wait.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        error_ = std::error_code(errno, std::generic_category());
        refusal_ = errno == ENOENT || errno == ENOTDIR ? Refusal::NotFound : Refusal::SystemError;
        return false;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        error_ = std::error_code(errno, std::generic_category());
        refusal_ = Refusal::SystemError;
    } else if (S_ISDIR(status.st_mode)) {
        refusal_ = Refusal::Folder;
    } else if (!S_ISREG(status.st_mode)) {
        refusal_ = Refusal::NotRegularFile;
        kind_ = kindOf(status.st_mode);
    }
    if (refusal_ != Refusal::None) {
        ::close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    return true;
}

RegularFileBuffer::int_type RegularFileBuffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    ssize_t count = 0;
    do {
        count = ::read(descriptor_, buffer_.data(), buffer_.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        throw std::system_error(errno, std::generic_category());
    }
    if (count == 0) {
        return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
    return traits_type::to_int_type(*gptr());
}

} // namespace zelkor
