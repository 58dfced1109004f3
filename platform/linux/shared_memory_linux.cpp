// System V shared memory: the kind the X server's MIT-SHM extension maps.
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/shared_memory.h"

namespace zentrik::platform {

std::unique_ptr<SharedMemory> SharedMemory::create(std::size_t size) {
    if (size == 0)
        return nullptr;
    const int id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id < 0)
        return nullptr;
    void* data = shmat(id, nullptr, 0);
    if (data == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return nullptr;
    }
    return std::unique_ptr<SharedMemory>(
        new SharedMemory(id, static_cast<std::uint8_t*>(data), size));
}

SharedMemory::~SharedMemory() {
    remove_id();
    shmdt(data_);
}

void SharedMemory::remove_id() {
    if (id_removed_)
        return;
    id_removed_ = true;
    shmctl(id_, IPC_RMID, nullptr);
}

}  // namespace zentrik::platform
