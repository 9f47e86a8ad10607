#pragma once
// The sanitizers' allocators keep no malloc statistics: tests that count
// the heap skip when KALVION_HEAP_COUNTS_UNRELIABLE is defined.
#if defined(__SANITIZE_ADDRESS__)
#define KALVION_HEAP_COUNTS_UNRELIABLE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define KALVION_HEAP_COUNTS_UNRELIABLE 1
#endif
#endif
