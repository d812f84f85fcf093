#include "model_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::string ModelFileProblem(const std::string& path) {
    // O_NONBLOCK: opening a FIFO without a writer must not hang the hack.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat info;
    std::string problem;
    if (fstat(fd, &info) != 0)
        problem = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        problem = "not a regular file";
    close(fd);
    return problem;
}
