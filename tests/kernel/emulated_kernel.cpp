#include "tests/kernel/emulated_kernel.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

namespace zentrik::kernel_test {
namespace {

struct Node {
    std::shared_ptr<EmulatedUsbDevice> device;
    std::vector<std::uint8_t> descriptor;  // empty: a usbfs node
    std::vector<int> peers;                // the kernel's ends of the open hidraw descriptors
    int write_opens = 0;
};

struct OpenFile {
    std::string path;
    std::deque<usbdevfs_urb*> reaped;  // usbfs: completed transfers not yet reaped
};

struct Kernel {
    std::recursive_mutex mutex;
    std::map<std::string, Node> nodes;
    std::map<int, OpenFile> files;
};

Kernel& kernel() {
    static Kernel* k = new Kernel;  // lives past static destruction: close() may come late
    return *k;
}

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

int fail(int error) {
    errno = error;
    return -1;
}

// The device descriptor and a configuration without interfaces: what libusb reads from the
// usbfs node before it sends anything.
std::vector<std::uint8_t> usbfs_descriptors() {
    return {18, 1, 0x00, 0x02, 0, 0, 0, 64, 0x34, 0x12, 0x78, 0x56, 0x00, 0x01,
            0,  0, 0,    1,    9, 2, 9, 0,  0,    1,    0,    0x80, 50};
}

int open_node(const std::string& path, Node& node, int flags) {
    if (node.device->gone)
        return fail(ENOENT);
    int fd = -1;
    if (node.descriptor.empty()) {
        fd = ::memfd_create("usbfs", MFD_CLOEXEC);
        const auto bytes = usbfs_descriptors();
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            return fail(EIO);
        ::lseek(fd, 0, SEEK_SET);
    } else {
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0)
            return -1;
        fd = pair[0];
        node.peers.push_back(pair[1]);
        if (flags & O_NONBLOCK)
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        if ((flags & O_ACCMODE) != O_RDONLY)
            ++node.write_opens;
    }
    kernel().files[fd] = OpenFile{path, {}};
    return fd;
}

// usbhid's raw requests: report 0 travels without its number, which the answer keeps in byte 0.
int feature_ioctl(Node& node, unsigned long request, std::uint8_t* buf) {
    const std::size_t n = _IOC_SIZE(request);
    if (n == 0)
        return fail(EINVAL);
    if (buf[0] != 0)
        return fail(EPIPE);  // the mouse's descriptor declares no report ids: the device stalls
    auto& firmware = *node.device->firmware;
    if (_IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0))) {
        if (!firmware.set_feature(std::span<const std::uint8_t>(buf, n)))
            return fail(EPIPE);
        if (node.device->fail_status_stage)
            return fail(EPIPE);
        return static_cast<int>(n);
    }
    if (!firmware.get_feature(std::span<std::uint8_t>(buf, n)))
        return fail(EPIPE);
    buf[0] = 0;
    return static_cast<int>(n);
}

int hidraw_ioctl(Node& node, unsigned long request, void* arg) {
    if (node.device->gone)
        return fail(ENODEV);
    if (request == HIDIOCGRDESCSIZE) {
        *static_cast<int*>(arg) = static_cast<int>(node.descriptor.size());
        return 0;
    }
    if (request == HIDIOCGRDESC) {
        auto* rd = static_cast<hidraw_report_descriptor*>(arg);
        if (rd->size > node.descriptor.size())
            return fail(EINVAL);
        std::memcpy(rd->value, node.descriptor.data(), rd->size);
        return 0;
    }
    if (request == HIDIOCGRAWINFO) {
        auto* info = static_cast<hidraw_devinfo*>(arg);
        info->bustype = BUS_USB;
        info->vendor = 0x1234;
        info->product = 0x5678;
        return 0;
    }
    if (_IOC_TYPE(request) == 'H' && (_IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0)) ||
                                      _IOC_NR(request) == _IOC_NR(HIDIOCGFEATURE(0))))
        return feature_ioctl(node, request, static_cast<std::uint8_t*>(arg));
    return fail(EINVAL);
}

// A GET_DESCRIPTOR(string) control transfer, answered at once.
void complete_control(Node& node, usbdevfs_urb* urb) {
    auto* setup = static_cast<std::uint8_t*>(urb->buffer);
    const int type = setup[3];
    const int index = setup[2];
    const int length = setup[6] | (setup[7] << 8);
    urb->status = 0;
    urb->actual_length = 0;
    std::vector<std::uint8_t> answer;
    if (setup[0] == 0x80 && setup[1] == 6 && type == 3) {
        if (index == 0) {
            answer = {4, 3, 0x09, 0x04};
        } else if (const auto s = node.device->firmware->indexed_string(index)) {
            answer = {static_cast<std::uint8_t>(2 + s->size()), 3};
            answer.insert(answer.end(), s->begin(), s->end());
        }
    }
    if (answer.empty()) {
        urb->status = -EPIPE;  // the device stalls
        return;
    }
    const std::size_t n = std::min<std::size_t>(answer.size(), static_cast<std::size_t>(length));
    std::memcpy(setup + 8, answer.data(), n);
    urb->actual_length = static_cast<int>(n);
}

int usbfs_ioctl(Node& node, OpenFile& file, unsigned long request, void* arg) {
    if (node.device->gone)
        return fail(ENODEV);
    switch (request) {
        case USBDEVFS_CONNECTINFO:
            static_cast<usbdevfs_connectinfo*>(arg)->devnum = 7;
            static_cast<usbdevfs_connectinfo*>(arg)->slow = 0;
            return 0;
        case USBDEVFS_GET_CAPABILITIES:
            *static_cast<std::uint32_t*>(arg) = 0;
            return 0;
        case USBDEVFS_SUBMITURB: {
            auto* urb = static_cast<usbdevfs_urb*>(arg);
            if (urb->type != USBDEVFS_URB_TYPE_CONTROL)
                return fail(EINVAL);
            complete_control(node, urb);
            file.reaped.push_back(urb);
            return 0;
        }
        case USBDEVFS_REAPURBNDELAY:
            if (file.reaped.empty())
                return fail(EAGAIN);
            *static_cast<void**>(arg) = file.reaped.front();
            file.reaped.pop_front();
            return 0;
        default:
            return fail(ENOTTY);
    }
}

}  // namespace

void add_hidraw_node(const std::string& dev_path, std::shared_ptr<EmulatedUsbDevice> device,
                     std::vector<std::uint8_t> descriptor) {
    std::lock_guard hold(kernel().mutex);
    kernel().nodes[dev_path] = Node{std::move(device), std::move(descriptor), {}, 0};
}

void add_usbfs_node(const std::string& path, std::shared_ptr<EmulatedUsbDevice> device) {
    std::lock_guard hold(kernel().mutex);
    kernel().nodes[path] = Node{std::move(device), {}, {}, 0};
}

void unplug(const std::shared_ptr<EmulatedUsbDevice>& device) {
    std::lock_guard hold(kernel().mutex);
    device->gone = true;
    device->firmware->unplug();
    for (auto& [path, node] : kernel().nodes) {
        if (node.device != device)
            continue;
        for (int peer : node.peers)
            ::shutdown(peer, SHUT_RDWR);  // the reader sees POLLHUP
    }
}

void deliver_input(const std::string& dev_path) {
    std::lock_guard hold(kernel().mutex);
    auto& node = kernel().nodes.at(dev_path);
    std::uint8_t report[64];
    for (int n; (n = node.device->firmware->read_input(report, 0)) > 0;) {
        for (int peer : node.peers)
            (void)::send(peer, report, static_cast<std::size_t>(n), MSG_DONTWAIT);
    }
}

int write_opens(const std::string& dev_path) {
    std::lock_guard hold(kernel().mutex);
    const auto it = kernel().nodes.find(dev_path);
    return it == kernel().nodes.end() ? 0 : it->second.write_opens;
}

void reset() {
    std::lock_guard hold(kernel().mutex);
    for (auto& [path, node] : kernel().nodes) {
        for (int peer : node.peers)
            real<int (*)(int)>("close")(peer);
    }
    kernel().nodes.clear();
}

}  // namespace zentrik::kernel_test

using namespace zentrik::kernel_test;

extern "C" {

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list ap;
        va_start(ap, flags);
        mode = static_cast<mode_t>(va_arg(ap, int));
        va_end(ap);
    }
    {
        std::lock_guard hold(kernel().mutex);
        const auto it = kernel().nodes.find(path);
        if (it != kernel().nodes.end())
            return open_node(path, it->second, flags);
    }
    return real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int close(int fd) {
    {
        std::lock_guard hold(kernel().mutex);
        kernel().files.erase(fd);
    }
    return real<int (*)(int)>("close")(fd);
}

int ioctl(int fd, unsigned long request, ...) {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    {
        std::lock_guard hold(kernel().mutex);
        const auto file = kernel().files.find(fd);
        if (file != kernel().files.end()) {
            auto node = kernel().nodes.find(file->second.path);
            if (node == kernel().nodes.end())
                return fail(ENODEV);
            return node->second.descriptor.empty()
                       ? usbfs_ioctl(node->second, file->second, request, arg)
                       : hidraw_ioctl(node->second, request, arg);
        }
    }
    return real<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, arg);
}

}  // extern "C"
