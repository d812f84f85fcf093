#include "model_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

int OpenModelFile(const std::string& path, std::string& problem) {
    // O_NONBLOCK: opening a FIFO without a writer must not hang the hack.
    // Reads of a regular file do not heed it.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = std::strerror(errno);
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0)
        problem = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        problem = "not a regular file";
    else
        return fd;
    close(fd);
    return -1;
}
