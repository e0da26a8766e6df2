// libjpeg source and destination managers over IxFile.
#include "imagelib/IxFileJpg.h"

#include <jerror.h>

#include <cstdint>

#include "imagelib/IxFile.h"

IxImageJPG::IxFileJpg::IxFileJpg(IxFile* stream)
    : jpeg_destination_mgr(),
      jpeg_source_mgr(),
      m_pFile(stream),
      m_pBuffer(new uint8_t[kBufferSize]),
      m_bStartOfFile(true) {
  jpeg_destination_mgr::init_destination = InitDestination;
  jpeg_destination_mgr::empty_output_buffer = EmptyOutputBuffer;
  jpeg_destination_mgr::term_destination = TermDestination;
  jpeg_source_mgr::init_source = InitSource;
  jpeg_source_mgr::fill_input_buffer = FillInputBuffer;
  jpeg_source_mgr::skip_input_data = SkipInputData;
  jpeg_source_mgr::resync_to_restart = jpeg_resync_to_restart;
  jpeg_source_mgr::term_source = TermSource;
  jpeg_source_mgr::bytes_in_buffer = 0;
  jpeg_source_mgr::next_input_byte = nullptr;
}

void IxImageJPG::IxFileJpg::InitSource(j_decompress_ptr cinfo) {
  static_cast<IxFileJpg*>(cinfo->src)->m_bStartOfFile = true;
}

boolean IxImageJPG::IxFileJpg::FillInputBuffer(j_decompress_ptr cinfo) {
  IxFileJpg* self = static_cast<IxFileJpg*>(cinfo->src);
  // A stream in memory is decoded in place, all of it at once: no copy, and libjpeg keeps to its
  // fast paths, which stop short of the end of every buffer.
  size_t unread = 0;
  const uint8_t* bytes = self->m_pFile->Unread(&unread);
  if (bytes != nullptr && unread <= static_cast<size_t>(INT64_MAX) &&
      self->m_pFile->Seek(static_cast<int64_t>(unread), SEEK_CUR)) {
    self->jpeg_source_mgr::next_input_byte = bytes;
    self->jpeg_source_mgr::bytes_in_buffer = unread;
    self->m_bStartOfFile = false;
    return TRUE;
  }
  size_t got = self->m_pFile->Read(self->m_pBuffer.get(), 1, kBufferSize);
  if (got == 0) {
    if (self->m_bStartOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    // An inserted end-of-image marker lets libjpeg finish the picture with what it has.
    self->m_pBuffer[0] = 0xFF;
    self->m_pBuffer[1] = JPEG_EOI;
    got = 2;
  }
  self->jpeg_source_mgr::next_input_byte = self->m_pBuffer.get();
  self->jpeg_source_mgr::bytes_in_buffer = got;
  self->m_bStartOfFile = false;
  return TRUE;
}

void IxImageJPG::IxFileJpg::SkipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  while (count > static_cast<long>(src->bytes_in_buffer)) {
    count -= static_cast<long>(src->bytes_in_buffer);
    FillInputBuffer(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}

void IxImageJPG::IxFileJpg::TermSource(j_decompress_ptr) {}

void IxImageJPG::IxFileJpg::InitDestination(j_compress_ptr cinfo) {
  IxFileJpg* self = static_cast<IxFileJpg*>(cinfo->dest);
  self->jpeg_destination_mgr::next_output_byte = self->m_pBuffer.get();
  self->jpeg_destination_mgr::free_in_buffer = kBufferSize;
}

boolean IxImageJPG::IxFileJpg::EmptyOutputBuffer(j_compress_ptr cinfo) {
  IxFileJpg* self = static_cast<IxFileJpg*>(cinfo->dest);
  if (self->m_pFile->Write(self->m_pBuffer.get(), 1, kBufferSize) != kBufferSize) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
  self->jpeg_destination_mgr::next_output_byte = self->m_pBuffer.get();
  self->jpeg_destination_mgr::free_in_buffer = kBufferSize;
  return TRUE;
}

void IxImageJPG::IxFileJpg::TermDestination(j_compress_ptr cinfo) {
  IxFileJpg* self = static_cast<IxFileJpg*>(cinfo->dest);
  size_t count = kBufferSize - self->jpeg_destination_mgr::free_in_buffer;
  // Any short write fails the encode: a picture reported as saved must be all there.
  if (count > 0 && self->m_pFile->Write(self->m_pBuffer.get(), 1, count) != count) {
    ERREXIT(cinfo, JERR_FILE_WRITE);
  }
  if (!self->m_pFile->Flush() || self->m_pFile->Error()) ERREXIT(cinfo, JERR_FILE_WRITE);
}
