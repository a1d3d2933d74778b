// The IP Helper pattern of asking for the size first, then for the data in a buffer of that size.
#pragma once
#include <windows.h>
#include <new>
#include <vector>

// Calls `query(buffer, &size)` twice: once for the size, then with a buffer of it. Empty when
// the size or the memory cannot be had, or the second call fails.
template <class Query>
std::vector<unsigned char> QuerySized(Query query)
{
    ULONG size = 0;
    query(nullptr, &size);
    std::vector<unsigned char> buffer;
    if (size == 0)
        return buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return buffer;
    }
    if (query(buffer.data(), &size) != ERROR_SUCCESS)
        buffer.clear();
    return buffer;
}
