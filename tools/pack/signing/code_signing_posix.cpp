// Signing on Linux: Debian's osslsigncode as a child process, given the password through a
// pipe on its standard input, never on its command line.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/signing/code_signing.h"

namespace ambrevo::pack {
namespace {

// Closes a descriptor once.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

struct Pipe {
    Descriptor read;
    Descriptor write;
};

// A socket pair rather than a pipe for the child's input: a write to a signer that
// already ended then fails instead of raising SIGPIPE.
Pipe MakePipe() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        throw PackError(std::string("cannot start osslsigncode: ") + std::strerror(errno));
    }
    return {Descriptor(fds[0]), Descriptor(fds[1])};
}

// Runs osslsigncode with arguments, writing input to its standard input; gives its exit
// status and what it wrote.
std::pair<int, std::string> RunSigner(const std::vector<std::string>& arguments,
                                      const std::string& input) {
    Pipe in = MakePipe();
    Pipe out = MakePipe();
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw PackError(std::string("cannot start osslsigncode: ") + std::strerror(errno));
    if (child == 0) {
        ::dup2(in.read.Get(), STDIN_FILENO);
        ::dup2(out.write.Get(), STDOUT_FILENO);
        ::dup2(out.write.Get(), STDERR_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    in.read.Close();
    out.write.Close();
    // The password is far below a pipe's capacity, so the write cannot wait on the reader.
    const ssize_t written = ::send(in.write.Get(), input.data(), input.size(), MSG_NOSIGNAL);
    (void)written;  // a signer that stopped early says why in its output
    ::shutdown(in.write.Get(), SHUT_WR);
    in.write.Close();
    std::string output;
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t count = ::read(out.read.Get(), buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        output.append(buffer.data(), static_cast<std::size_t>(count));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        throw PackError("cannot run osslsigncode: install it (Debian package osslsigncode)");
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// What osslsigncode's output says failed: a wrong password, or its last line.
std::string SignerProblem(const std::string& output, const std::filesystem::path& certificate) {
    if (output.find("mac verify failure") != std::string::npos) {
        return "the password does not open the certificate \"" + PathToUtf8(certificate) + "\"";
    }
    std::string last;
    std::size_t start = 0;
    while (start < output.size()) {
        const std::size_t end = std::min(output.find('\n', start), output.size());
        const std::string line = output.substr(start, end - start);
        if (!line.empty() && line != "Failed") last = line;
        start = end + 1;
    }
    return last.empty() ? "osslsigncode failed" : last;
}

}  // namespace

std::string SigningPassword(const std::filesystem::path& certificate) {
    if (const char* password = std::getenv(kSignPasswordVariable)) return password;
    if (!::isatty(STDIN_FILENO)) {
        throw PackError(std::string("the password of \"") + PathToUtf8(certificate) +
                        "\" is needed: set " + kSignPasswordVariable +
                        " or run the tool on a terminal");
    }
    termios before{};
    ::tcgetattr(STDIN_FILENO, &before);
    termios silent = before;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    std::cerr << "password of " << PathToUtf8(certificate) << ": " << std::flush;
    std::string password;
    std::getline(std::cin, password);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    std::cerr << "\n";
    return password;
}

void SignProgram(const SigningOptions& options, const std::filesystem::path& file,
                 const std::filesystem::path& shownAs) {
    const std::filesystem::path signedCopy = file.string() + ".signing";
    std::vector<std::string> arguments = {
        "osslsigncode", "sign", "-pkcs12", options.certificate.string(),
        "-readpass",    "-",    "-h",      "sha256"};
    if (options.timestampUrl) {
        arguments.insert(arguments.end(), {"-ts", *options.timestampUrl});
    }
    arguments.insert(arguments.end(), {"-in", file.string(), "-out", signedCopy.string()});
    const auto [status, output] = RunSigner(arguments, options.password);
    std::error_code error;
    if (status != 0) {
        std::filesystem::remove(signedCopy, error);
        throw PackError("cannot sign " + QuotedPath(shownAs) + ": " +
                        SignerProblem(output, options.certificate));
    }
    std::filesystem::rename(signedCopy, file, error);
    if (error) {
        std::filesystem::remove(signedCopy, error);
        throw PackError("cannot replace " + QuotedPath(shownAs) +
                        " by its signed copy: " + error.message());
    }
}

bool OwnedByCurrentUser(const std::filesystem::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && status.st_uid == ::geteuid();
}

}  // namespace ambrevo::pack
