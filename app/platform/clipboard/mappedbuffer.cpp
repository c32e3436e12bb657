// SPDX-License-Identifier: GPL-3.0-or-later
#include "mappedbuffer.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

qsizetype pageRounded(qsizetype bytes)
{
    const qsizetype page = qsizetype(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

} // namespace

MappedBuffer::~MappedBuffer()
{
    clear();
}

bool MappedBuffer::reserve(qsizetype capacity)
{
    if (capacity <= m_capacity)
        return true;
    const qsizetype mapped = pageRounded(capacity);
    void *data = m_data ? ::mremap(m_data, size_t(m_capacity), size_t(mapped), MREMAP_MAYMOVE)
                        : ::mmap(nullptr, size_t(mapped), PROT_READ | PROT_WRITE,
                                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        return false;
    m_data = static_cast<char *>(data);
    m_capacity = mapped;
    return true;
}

bool MappedBuffer::append(const char *data, qsizetype size)
{
    if (size <= 0)
        return true;
    if (m_size + size > m_capacity && !reserve(std::max(m_size + size, m_capacity * 2)))
        return false;
    std::memcpy(m_data + m_size, data, size_t(size));
    m_size += size;
    return true;
}

void MappedBuffer::clear()
{
    if (m_data)
        ::munmap(m_data, size_t(m_capacity));
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
}
