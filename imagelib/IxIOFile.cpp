#include "imagelib/IxIOFile.h"

IxIOFile::IxIOFile(FILE* fp) : m_fp(fp), m_bCloseFile(fp == nullptr) {}

IxIOFile::~IxIOFile() { Close(); }

bool IxIOFile::Close() {
  if (m_fp == nullptr || !m_bCloseFile) return true;
  const int result = fclose(m_fp);
  m_fp = nullptr;
  return result == 0;
}

size_t IxIOFile::Read(void* buffer, size_t size, size_t count) {
  if (m_fp == nullptr || buffer == nullptr) return 0;
  return fread(buffer, size, count, m_fp);
}

size_t IxIOFile::Write(const void* buffer, size_t size, size_t count) {
  if (m_fp == nullptr || buffer == nullptr) return 0;
  return fwrite(buffer, size, count, m_fp);
}

bool IxIOFile::Seek(int64_t offset, int origin) {
  if (m_fp == nullptr) return false;
  return fseeko(m_fp, static_cast<off_t>(offset), origin) == 0;
}

int64_t IxIOFile::Tell() {
  if (m_fp == nullptr) return 0;
  return static_cast<int64_t>(ftello(m_fp));
}

int64_t IxIOFile::Size() {
  if (m_fp == nullptr) return -1;
  const off_t here = ftello(m_fp);
  if (here < 0 || fseeko(m_fp, 0, SEEK_END) != 0) return -1;
  const off_t size = ftello(m_fp);
  fseeko(m_fp, here, SEEK_SET);
  return static_cast<int64_t>(size);
}

bool IxIOFile::Flush() { return m_fp != nullptr && fflush(m_fp) == 0; }

bool IxIOFile::Eof() { return m_fp == nullptr || feof(m_fp) != 0; }

long IxIOFile::Error() { return m_fp == nullptr ? -1 : ferror(m_fp); }

bool IxIOFile::PutC(uint8_t c) { return m_fp != nullptr && fputc(c, m_fp) == c; }

long IxIOFile::GetC() { return m_fp == nullptr ? -1 : getc(m_fp); }
