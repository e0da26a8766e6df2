#include "imagelib/IxJasOpenJpeg.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstdio>

#include "imagelib/IxFile.h"

namespace {

// A header asking more than this many samples for each byte of the file is refused before
// OpenJPEG allocates its planes.
constexpr uint64_t kMaxExpansion = 1ull << 16;
constexpr uint64_t kUncheckedSamples = 16ull << 20;

// OpenJPEG addresses its stream from 0; the IxFile may start anywhere.
struct StreamBinding {
  IxFile* file;
  int64_t start;
};

OPJ_SIZE_T OnRead(void* buffer, OPJ_SIZE_T n, void* user) {
  auto* b = static_cast<StreamBinding*>(user);
  const size_t got = b->file->Read(buffer, 1, n);
  return got == 0 && n > 0 ? static_cast<OPJ_SIZE_T>(-1) : got;
}

OPJ_SIZE_T OnWrite(void* buffer, OPJ_SIZE_T n, void* user) {
  auto* b = static_cast<StreamBinding*>(user);
  const size_t put = b->file->Write(buffer, 1, n);
  return put == n ? put : static_cast<OPJ_SIZE_T>(-1);
}

OPJ_OFF_T OnSkip(OPJ_OFF_T n, void* user) {
  auto* b = static_cast<StreamBinding*>(user);
  return b->file->Seek(n, SEEK_CUR) ? n : -1;
}

OPJ_BOOL OnSeek(OPJ_OFF_T pos, void* user) {
  auto* b = static_cast<StreamBinding*>(user);
  return b->file->Seek(b->start + pos, SEEK_SET) ? OPJ_TRUE : OPJ_FALSE;
}

void Silent(const char*, void*) {}

void Quiet(opj_codec_t* codec) {
  opj_set_error_handler(codec, Silent, nullptr);
  opj_set_warning_handler(codec, Silent, nullptr);
  opj_set_info_handler(codec, Silent, nullptr);
}

opj_stream_t* MakeStream(StreamBinding& b, bool input) {
  opj_stream_t* s = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, input ? OPJ_TRUE : OPJ_FALSE);
  if (s == nullptr) return nullptr;
  opj_stream_set_user_data(s, &b, nullptr);
  if (input) {
    const int64_t size = b.file->Size();
    opj_stream_set_user_data_length(s, size > b.start ? static_cast<OPJ_UINT64>(size - b.start) : 0);
    opj_stream_set_read_function(s, OnRead);
  } else {
    opj_stream_set_write_function(s, OnWrite);
  }
  opj_stream_set_skip_function(s, OnSkip);
  opj_stream_set_seek_function(s, OnSeek);
  return s;
}

}  // namespace

bool IxJasOpenJpeg::Decode(IxFile* file, bool jp2, IxJasImage& image) {
  StreamBinding binding{file, file->Tell()};
  if (binding.start < 0) return false;
  opj_stream_t* stream = MakeStream(binding, true);
  opj_codec_t* codec = opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  opj_image_t* img = nullptr;
  bool ok = stream != nullptr && codec != nullptr;
  if (ok) {
    Quiet(codec);
    opj_dparameters_t params;
    opj_set_default_decoder_parameters(&params);
    ok = opj_setup_decoder(codec, &params) && opj_read_header(stream, codec, &img) && img != nullptr;
  }
  if (ok) {
    uint64_t samples = 0;
    const uint64_t width = img->x1 > img->x0 ? img->x1 - img->x0 : 0;
    const uint64_t height = img->y1 > img->y0 ? img->y1 - img->y0 : 0;
    for (OPJ_UINT32 i = 0; i < img->numcomps; ++i) {
      const uint64_t dx = std::max<OPJ_UINT32>(img->comps[i].dx, 1),
                     dy = std::max<OPJ_UINT32>(img->comps[i].dy, 1);
      samples += ((width + dx - 1) / dx) * ((height + dy - 1) / dy);
    }
    const int64_t size = file->Size();
    const uint64_t bytes = size > binding.start ? static_cast<uint64_t>(size - binding.start) : 0;
    ok = width > 0 && height > 0 && img->numcomps > 0 && img->numcomps <= 64 &&
         samples <= IX_JAS_MAX_SAMPLES && (samples <= kUncheckedSamples || samples / kMaxExpansion <= bytes);
  }
  ok = ok && opj_decode(codec, stream, img) && opj_end_decompress(codec, stream);
  if (ok) {
    image.comps.assign(img->numcomps, IxJasComponent());
    switch (img->color_space) {
      case OPJ_CLRSPC_GRAY:
        image.family = IxJasFamily::kGrey;
        break;
      case OPJ_CLRSPC_SYCC:
        image.family = IxJasFamily::kYcc;
        break;
      case OPJ_CLRSPC_SRGB:
        image.family = IxJasFamily::kRgb;
        break;
      case OPJ_CLRSPC_UNSPECIFIED:
      case OPJ_CLRSPC_UNKNOWN:
        image.family = img->numcomps >= 3 ? IxJasFamily::kRgb : IxJasFamily::kGrey;
        break;
      default:
        image.family = IxJasFamily::kOther;
        break;
    }
    for (OPJ_UINT32 i = 0; i < img->numcomps && ok; ++i) {
      const opj_image_comp_t& src = img->comps[i];
      IxJasComponent& c = image.comps[i];
      if (src.data == nullptr || src.w == 0 || src.h == 0 || src.prec == 0 || src.prec > 31) {
        ok = false;
        break;
      }
      c.width = src.w;
      c.height = src.h;
      c.prec = src.prec;
      c.sgnd = src.sgnd != 0;
      c.alpha = src.alpha <= 2 ? static_cast<uint8_t>(src.alpha) : 0;
      c.data.assign(src.data, src.data + static_cast<size_t>(uint64_t{src.w} * src.h));
    }
    // A bare code stream has no channel definition: four planes of colour are read as red, green,
    // blue and opacity, as other readers do.
    if (ok && !jp2 && img->numcomps == 4 &&
        (image.family == IxJasFamily::kRgb || image.family == IxJasFamily::kYcc))
      image.comps[3].alpha = 1;
  }
  if (img != nullptr) opj_image_destroy(img);
  if (codec != nullptr) opj_destroy_codec(codec);
  if (stream != nullptr) opj_stream_destroy(stream);
  return ok;
}

bool IxJasOpenJpeg::Encode(const IxJasImage& image, IxFile* file, bool jp2, double rate) {
  const uint32_t n = static_cast<uint32_t>(image.comps.size());
  const IxJasComponent& c0 = image.comps[0];
  opj_image_cmptparm_t parms[3] = {};
  for (uint32_t i = 0; i < n; ++i) {
    parms[i].dx = parms[i].dy = 1;
    parms[i].w = c0.width;
    parms[i].h = c0.height;
    parms[i].prec = 8;
    parms[i].sgnd = 0;
  }
  opj_image_t* img = opj_image_create(n, parms, n == 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
  if (img == nullptr) return false;
  img->x0 = img->y0 = 0;
  img->x1 = c0.width;
  img->y1 = c0.height;
  for (uint32_t i = 0; i < n; ++i)
    std::copy(image.comps[i].data.begin(), image.comps[i].data.end(), img->comps[i].data);

  opj_cparameters_t params;
  opj_set_default_encoder_parameters(&params);
  params.tcp_numlayers = 1;
  params.cp_disto_alloc = 1;
  // The rate is a share of the raw size; OpenJPEG wants the compression ratio.
  params.tcp_rates[0] = rate >= 1.0 ? 0.0f : rate <= 0.0 ? 1000.0f : static_cast<float>(1.0 / rate);
  params.tcp_mct = n == 3 ? 1 : 0;
  // Each resolution level halves the picture: small pictures get fewer levels.
  int levels = 1;
  for (uint32_t side = std::min(c0.width, c0.height); side > 1 && levels < 6; side >>= 1) ++levels;
  params.numresolution = levels;

  StreamBinding binding{file, file->Tell()};
  opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  opj_stream_t* stream = binding.start >= 0 ? MakeStream(binding, false) : nullptr;
  bool ok = codec != nullptr && stream != nullptr;
  if (ok) {
    Quiet(codec);
    ok = opj_setup_encoder(codec, &params, img) && opj_start_compress(codec, img, stream) &&
         opj_encode(codec, stream) && opj_end_compress(codec, stream);
  }
  if (stream != nullptr) opj_stream_destroy(stream);
  if (codec != nullptr) opj_destroy_codec(codec);
  opj_image_destroy(img);
  return ok;
}
