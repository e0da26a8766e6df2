// The blocks the message writer hands out or keeps in a body come from malloc (callers free them
// with free). They are obtained here, so that tests can make the n-th request fail and check that
// every failure is reported and nothing leaks.
#pragma once

#include <cstddef>

// A block from malloc, or nullptr when memory runs out (or a test asked for a failure).
void* MmsAlloc(std::size_t size);
// A malloc copy of a NUL-terminated text, or nullptr.
char* MmsStrDup(const char* text);

// Test hook: the request after `count` more successful ones fails, and every one after it; a
// negative count ends the failures.
void MmsAllocFailAfter(long count);
