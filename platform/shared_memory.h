#pragma once
// A block of memory that another process on this machine (the display server) maps by its id,
// so a picture written into it is shown without being sent over the display connection.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zentrik::platform {

class SharedMemory {
  public:
    // A block of `size` bytes, readable and writable by this user only; null when the system
    // refuses one (limits, no support).
    static std::unique_ptr<SharedMemory> create(std::size_t size);
    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    int id() const { return id_; }
    std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Drops the id once the other process has mapped the block: the memory then goes when the
    // last process lets go of it, even if this one ends without cleaning up.
    void remove_id();

  private:
    SharedMemory(int id, std::uint8_t* data, std::size_t size)
        : id_(id), data_(data), size_(size) {}

    int id_;
    std::uint8_t* data_;
    std::size_t size_;
    bool id_removed_ = false;
};

}  // namespace zentrik::platform
