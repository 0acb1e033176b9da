#pragma once
// An allocator that leaves new elements as they are: for buffers that are written before they
// are read, filling them with zeros first is wasted work (and, for large ones, a pass over
// memory that is only going to be written again). A `Hook` with a static
// `Allocated(void* block, std::size_t bytes)` hears of every new block.

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace zar {

template <typename T, typename Hook = void>
struct UninitializedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UninitializedAllocator<U, Hook>;
    };
    UninitializedAllocator() = default;
    template <typename U>
    UninitializedAllocator(const UninitializedAllocator<U, Hook>&) noexcept {}
    T* allocate(std::size_t n) {
        T* p = std::allocator<T>::allocate(n);
        if constexpr (!std::is_void_v<Hook>) Hook::Allocated(p, n * sizeof(T));
        return p;
    }
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

}  // namespace zar
