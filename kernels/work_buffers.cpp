#include "kernels/work_buffers.h"

#include <cstring>

std::int32_t* mem0_ = nullptr;
std::int32_t* mem1_ = nullptr;
std::int32_t* mem0 = nullptr;
std::int32_t* mem1 = nullptr;

std::int32_t* alignWorkBuffer(void* raw)
{
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(raw);
    return reinterpret_cast<std::int32_t*>((address + 128) & ~static_cast<std::uintptr_t>(127));
}

void prefaultWorkBuffer(void* raw, std::size_t bytes)
{
    std::memset(raw, 0x5A, bytes);
}
