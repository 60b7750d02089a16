#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace metersim {

// The meter's end of the serial cable: a pseudo-terminal pair. The PC program opens the
// slave device as it would a USB serial adapter; the simulator writes to the master.
class MeterPort
{
public:
    MeterPort() = default;
    ~MeterPort() { close(); }
    MeterPort(const MeterPort &) = delete;
    MeterPort &operator=(const MeterPort &) = delete;

    bool open(std::string &error);
    void close();
    bool isOpen() const { return master_ >= 0; }
    int masterFd() const { return master_; }
    const std::string &devicePath() const { return devicePath_; }

    // Bytes written; 0 when the line is full (the caller decides whether to drop or wait).
    std::size_t write(const uint8_t *data, std::size_t size);
    // Bytes that reached the device but nobody has read yet.
    int unreadByPc() const;
    // What the PC sent. Fails (returns false) once the line is broken for good.
    bool readAvailable(std::vector<uint8_t> &out);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
};

// A symlink with a stable name that follows the current device across vanish/return,
// the way a udev rule names a USB serial adapter.
class DeviceLink
{
public:
    explicit DeviceLink(std::string path)
        : path_(std::move(path))
    {
    }
    ~DeviceLink() { remove(); }
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    const std::string &path() const { return path_; }
    bool pointAt(const std::string &target, std::string &error);
    // Removes the link only while it still points where we put it, so a link that
    // someone else has taken over is left alone.
    void remove();

private:
    std::string path_;
    std::string target_;
};

} // namespace metersim
