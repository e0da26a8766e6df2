#include "imagelib/IxMemFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

IxMemFile::IxMemFile(uint8_t* buffer, size_t size)
    : m_pBuffer(buffer),
      m_Size(size),
      m_bFreeOnClose(buffer == nullptr),
      m_Position(0),
      m_Edge(size),
      m_bOwnsBlock(false) {}

IxMemFile::~IxMemFile() { Close(); }

bool IxMemFile::Open() {
  if (m_pBuffer != nullptr) return false;
  m_Size = m_Position = m_Edge = 0;
  m_pBuffer = static_cast<uint8_t*>(malloc(1));
  m_bFreeOnClose = true;
  m_bOwnsBlock = true;
  return m_pBuffer != nullptr;
}

bool IxMemFile::Close() {
  if (m_pBuffer != nullptr && m_bFreeOnClose) {
    free(m_pBuffer);
    m_pBuffer = nullptr;
    m_Size = 0;
  }
  return true;
}

uint8_t* IxMemFile::GetBuffer(bool detach) {
  m_bFreeOnClose = !detach;
  // A detached block is the caller's; a later growth copies instead of reallocating it.
  if (detach) m_bOwnsBlock = false;
  return m_pBuffer;
}

size_t IxMemFile::Read(void* buffer, size_t size, size_t count) {
  if (buffer == nullptr || m_pBuffer == nullptr || m_Position >= m_Size) return 0;
  if (size == 0 || count == 0 || count > std::numeric_limits<size_t>::max() / size) return 0;
  size_t bytes = size * count;
  const size_t left = m_Size - m_Position;
  if (bytes > left) bytes = left;
  memcpy(buffer, m_pBuffer + m_Position, bytes);
  m_Position += bytes;
  return bytes / size;
}

size_t IxMemFile::Write(const void* buffer, size_t size, size_t count) {
  if (m_pBuffer == nullptr || buffer == nullptr) return 0;
  if (size == 0 || count == 0 || count > std::numeric_limits<size_t>::max() / size) return 0;
  const size_t bytes = size * count;
  if (bytes > std::numeric_limits<size_t>::max() - m_Position) return 0;
  if (m_Position + bytes > m_Edge && !Alloc(m_Position + bytes)) return 0;
  // A write after a seek past the end must not expose what the gap held.
  if (m_Position > m_Size) memset(m_pBuffer + m_Size, 0, m_Position - m_Size);
  memcpy(m_pBuffer + m_Position, buffer, bytes);
  m_Position += bytes;
  if (m_Position > m_Size) m_Size = m_Position;
  return count;
}

bool IxMemFile::Seek(int64_t offset, int origin) {
  if (m_pBuffer == nullptr) return false;
  int64_t base;
  switch (origin) {
    case SEEK_SET:
      base = 0;
      break;
    case SEEK_CUR:
      base = static_cast<int64_t>(m_Position);
      break;
    case SEEK_END:
      base = static_cast<int64_t>(m_Size);
      break;
    default:
      return false;
  }
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target)) return false;
  m_Position = target < 0 ? 0 : static_cast<size_t>(target);
  return true;
}

const uint8_t* IxMemFile::Unread(size_t* count) {
  *count = m_pBuffer != nullptr && m_Position < m_Size ? m_Size - m_Position : 0;
  return *count > 0 ? m_pBuffer + m_Position : nullptr;
}

int64_t IxMemFile::Tell() { return m_pBuffer == nullptr ? -1 : static_cast<int64_t>(m_Position); }

int64_t IxMemFile::Size() { return m_pBuffer == nullptr ? -1 : static_cast<int64_t>(m_Size); }

bool IxMemFile::Flush() { return m_pBuffer != nullptr; }

bool IxMemFile::Eof() { return m_pBuffer == nullptr || m_Position >= m_Size; }

long IxMemFile::Error() {
  if (m_pBuffer == nullptr) return -1;
  return m_Position > m_Size ? 1 : 0;
}

bool IxMemFile::PutC(uint8_t c) {
  if (m_pBuffer == nullptr) return false;
  if (m_Position == std::numeric_limits<size_t>::max()) return false;
  if (m_Position + 1 > m_Edge && !Alloc(m_Position + 1)) return false;
  if (m_Position > m_Size) memset(m_pBuffer + m_Size, 0, m_Position - m_Size);
  m_pBuffer[m_Position++] = c;
  if (m_Position > m_Size) m_Size = m_Position;
  return true;
}

long IxMemFile::GetC() {
  if (Eof()) return -1;
  return m_pBuffer[m_Position++];
}

bool IxMemFile::Alloc(size_t needed) {
  if (needed <= m_Edge) return true;
  if (needed / 4096 >= std::numeric_limits<size_t>::max() / 4096 - 1) return false;
  // Growth by half the block at least, so that a stream written in many pieces is moved a few
  // times rather than once for every page.
  const size_t grown = m_Edge + m_Edge / 2;
  const size_t at =
      needed > grown || grown / 4096 >= std::numeric_limits<size_t>::max() / 4096 - 1 ? needed : grown;
  const size_t length = (at / 4096 + 1) * 4096;
  uint8_t* block;
  if (m_pBuffer != nullptr && m_bOwnsBlock) {
    block = static_cast<uint8_t*>(realloc(m_pBuffer, length));
    if (block == nullptr) return false;
  } else {
    // The first growth of a caller's buffer copies it: that memory is not ours to realloc.
    block = static_cast<uint8_t*>(malloc(length));
    if (block == nullptr) return false;
    if (m_pBuffer != nullptr) memcpy(block, m_pBuffer, m_Size < m_Edge ? m_Size : m_Edge);
  }
  m_pBuffer = block;
  m_bOwnsBlock = true;
  m_bFreeOnClose = true;
  m_Edge = length;
  return true;
}
