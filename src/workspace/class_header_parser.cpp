#include "workspace/class_header_parser.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/text.h"
#include "platform/file_ops.h"

namespace torvane::workspace {
namespace {

constexpr std::size_t kBlockSize = 16384;

enum class Comment { None, SlashSeen, BlockOpener, InComment };

// The scanner's state between blocks.
class HeaderScanner {
public:
    // Feeds one byte; false when the scan has ended.
    bool Feed(unsigned char b) {
        switch (b) {
            case ' ': break;
            case '\r':
                if (comment_ == Comment::InComment) comment_ = Comment::None;
                break;
            case '*':
                if (comment_ == Comment::SlashSeen) {
                    comment_ = Comment::BlockOpener;
                } else if (comment_ == Comment::BlockOpener) {
                    comment_ = Comment::InComment;
                } else if (comment_ == Comment::None) {
                    token_ += '*';
                }
                break;
            case '/':
                comment_ = comment_ == Comment::None ? Comment::SlashSeen : Comment::InComment;
                break;
            case ';':
                if (comment_ == Comment::None) {
                    if (phase_ == 5) header_.parentName = token_;
                    return false;
                }
                break;
            default:
                if (comment_ == Comment::SlashSeen) {
                    comment_ = Comment::None;  // the byte is dropped
                } else if (comment_ == Comment::None && b > 0x20) {
                    token_ += static_cast<char>(b);
                }
                break;
        }
        const bool blank = b == ' ' || b == '\r';
        switch (phase_) {
            case 0:
                if (core::EqualsIgnoringCase(token_, "CLASS")) {
                    token_.clear();
                    phase_ = 1;
                }
                break;
            case 1:
                if (!token_.empty()) phase_ = 2;
                break;
            case 2:
                if (blank) {
                    header_.className = token_;
                    token_.clear();
                    phase_ = 3;
                }
                break;
            case 3:
                if (core::EqualsIgnoringCase(token_, "EXTENDS") ||
                    core::EqualsIgnoringCase(token_, "EXPANDS")) {
                    token_.clear();
                    phase_ = 4;
                }
                break;
            case 4:
                if (!token_.empty()) phase_ = 5;
                break;
            default:
                if (blank) {
                    header_.parentName = token_;
                    return false;
                }
                break;
        }
        // A token that can no longer become a keyword only grows; keep it bounded.
        if (token_.size() > 4096 && phase_ != 2 && phase_ != 5) token_.erase(0, 2048);
        return true;
    }
    const ClassHeader& header() const { return header_; }

private:
    std::string token_;
    Comment comment_ = Comment::None;
    int phase_ = 0;
    ClassHeader header_;
};

}  // namespace

ClassHeader ParseClassHeaderText(std::string_view text) {
    HeaderScanner scanner;
    for (char c : text) {
        if (!scanner.Feed(static_cast<unsigned char>(c))) break;
    }
    return scanner.header();
}

ClassHeader ParseClassHeader(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw platform::FileError("Cannot open file \"" + path + "\". " + platform::ErrorText(errno));
    }
    HeaderScanner scanner;
    char block[kBlockSize];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw platform::FileError("Cannot read file \"" + path + "\". " + platform::ErrorText(error));
        }
        if (n == 0) break;
        bool more = true;
        for (ssize_t i = 0; i < n && more; ++i) more = scanner.Feed(static_cast<unsigned char>(block[i]));
        if (!more) break;
    }
    ::close(fd);
    return scanner.header();
}

}  // namespace torvane::workspace
