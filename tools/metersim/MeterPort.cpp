#include "tools/metersim/MeterPort.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace metersim {

bool MeterPort::open(std::string &error)
{
    close();
    // Raw from the start: until the PC program opens the device and sets its own mode,
    // the line discipline must neither echo the frames back nor translate bytes.
    termios tio{};
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, &tio, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    char name[128] = {};
    if (ptsname_r(master, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        ::close(master);
        ::close(slave);
        return false;
    }
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    // A full line must drop frames, never stall the simulator's command handling.
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    // Holding the slave open keeps the master writable and readable while no PC program
    // has the device open, as a real meter keeps sending into an unplugged cable.
    slave_ = slave;
    devicePath_ = name;
    return true;
}

void MeterPort::close()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
    devicePath_.clear();
}

std::size_t MeterPort::write(const uint8_t *data, std::size_t size)
{
    if (master_ < 0 || size == 0)
        return 0;
    for (;;) {
        const ssize_t n = ::write(master_, data, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            return 0;
    }
}

int MeterPort::unreadByPc() const
{
    int pending = 0;
    if (slave_ < 0 || ioctl(slave_, FIONREAD, &pending) != 0)
        return 0;
    return pending;
}

bool MeterPort::readAvailable(std::vector<uint8_t> &out)
{
    uint8_t buffer[256];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            out.insert(out.end(), buffer, buffer + n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

bool DeviceLink::pointAt(const std::string &target, std::string &error)
{
    struct stat st
    {
    };
    if (lstat(path_.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = path_ + " exists and is not a symlink";
        return false;
    }
    // Build the new link beside the old one and rename it over: a PC program polling the
    // name never sees it missing while it is being re-pointed.
    const std::string temporary = path_ + ".new-" + std::to_string(getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0) {
        error = "symlink " + path_ + ": " + std::strerror(errno);
        return false;
    }
    if (::rename(temporary.c_str(), path_.c_str()) != 0) {
        error = "symlink " + path_ + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    target_ = target;
    return true;
}

void DeviceLink::remove()
{
    if (target_.empty())
        return;
    char current[4096];
    const ssize_t n = ::readlink(path_.c_str(), current, sizeof current - 1);
    if (n >= 0 && std::string(current, static_cast<std::size_t>(n)) == target_)
        ::unlink(path_.c_str());
    target_.clear();
}

} // namespace metersim
