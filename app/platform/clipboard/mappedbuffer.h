// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// A growable byte buffer in anonymous memory mappings of its own, for
/// transfers of unknown, possibly very large size. Unlike heap memory, its
/// pages go back to the system as soon as it is cleared or destroyed, and
/// pages reserved but never written cost nothing.
class MappedBuffer
{
public:
    MappedBuffer() = default;
    ~MappedBuffer();
    MappedBuffer(const MappedBuffer &) = delete;
    MappedBuffer &operator=(const MappedBuffer &) = delete;

    /// Makes room for at least `capacity` bytes in total; false if the
    /// system refuses.
    bool reserve(qsizetype capacity);
    /// Appends bytes, growing geometrically; false if the system refuses.
    bool append(const char *data, qsizetype size);
    /// Releases the memory.
    void clear();

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    /// The bytes, without a copy; valid until the buffer changes.
    QByteArray bytes() const { return QByteArray::fromRawData(m_data, m_size); }

private:
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};
