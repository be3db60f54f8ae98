// Counting by replacing the C library's allocator and every operator new and
// delete in the test binary; the real work goes to glibc's own entry points.
#include <cstddef>
#include <cstdlib>
#include <new>

#include "allocation_counter.h"
#include "allocation_tally.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

using tcudv::test::NoteAllocation;
using tcudv::test::NoteRelease;

extern "C" {

void* malloc(size_t size) {
  NoteAllocation();
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  NoteAllocation();
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  NoteAllocation();
  return __libc_realloc(pointer, size);
}

void* memalign(size_t alignment, size_t size) {
  NoteAllocation();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  NoteAllocation();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
  NoteAllocation();
  void* pointer = __libc_memalign(alignment, size);
  if (pointer == nullptr) return 12;  // ENOMEM
  *result = pointer;
  return 0;
}

void free(void* pointer) {
  if (pointer != nullptr) NoteRelease();
  __libc_free(pointer);
}

}  // extern "C"

namespace {

void* Allocate(size_t size) {
  NoteAllocation();
  void* pointer = __libc_malloc(size == 0 ? 1 : size);
  if (pointer == nullptr) std::abort();  // the tests do not run out of memory
  return pointer;
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
  NoteAllocation();
  void* pointer = __libc_memalign(static_cast<size_t>(alignment), size == 0 ? 1 : size);
  if (pointer == nullptr) std::abort();
  return pointer;
}

void Release(void* pointer) {
  if (pointer != nullptr) NoteRelease();
  __libc_free(pointer);
}

}  // namespace

void* operator new(size_t size) {
  return Allocate(size);
}
void* operator new[](size_t size) {
  return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new(size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}

void operator delete(void* pointer) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete(void* pointer, size_t, std::align_val_t) noexcept {
  Release(pointer);
}
void operator delete[](void* pointer, size_t, std::align_val_t) noexcept {
  Release(pointer);
}

namespace tcudv::test {

bool CountingWorks() {
  CountingScope scope;
  void* volatile probe = malloc(16);
  free(probe);
  int* volatile object = new int(1);
  delete object;
  const AllocationCount count = scope.Count();
  return count.allocations == 2 && count.releases == 2;
}

}  // namespace tcudv::test
