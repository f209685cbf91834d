// The encoders and containers of the films, by FFmpeg's libraries: the
// frames are converted (libswscale, or for a GIF libavfilter's palette
// filters), encoded (libavcodec) and written (libavformat) into the file
// the caller opened for the film.
#include "plattform/film/kodierer.h"

#include <cstdio>
#include <utility>

#include "plattform/d3d8/farben.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace ersatz {

struct Film_Art {
  const char* szEndung;
  const char* szFormat;
  const char* szKodierer;
  AVPixelFormat Format;        // what the encoder takes
  const char* szKodierOptionen;
  const char* szFormatOptionen;
  const char* szSuchbarOptionen;  // the container's options for a file that can be read back
  const char* szFilter;        // the frames' way to the encoder, or null
};

namespace {

// H.264 and VP9 in 4:2:0, as every player and site takes them; a GIF gets
// a palette made for each frame, so the red sky and the green text keep
// their colours; an APNG is lossless.
const Film_Art Arten[] = {
    {".mp4", "mp4", "libx264", AV_PIX_FMT_YUV420P, "preset=ultrafast:crf=23:threads=0", "",
     "movflags=+faststart", nullptr},
    {".webm", "webm", "libvpx-vp9", AV_PIX_FMT_YUV420P,
     "deadline=realtime:cpu-used=8:row-mt=1:crf=20:b=0:threads=0", "", "", nullptr},
    {".gif", "gif", "gif", AV_PIX_FMT_PAL8, "", "loop=0", "",
     "split[a][b];[a]palettegen=stats_mode=single[p];[b][p]paletteuse=new=1"},
    {".apng", "apng", "apng", AV_PIX_FMT_RGB24, "", "plays=0", "", nullptr},
};

constexpr AVRational Takt = {1, 25};

std::string Grund(int nFehler) {
  char sz[AV_ERROR_MAX_STRING_SIZE];
  av_strerror(nFehler, sz, sizeof sz);
  return sz;
}

AVDictionary* Optionen(const char* szText) {
  AVDictionary* pOptionen = nullptr;
  av_dict_parse_string(&pOptionen, szText, "=", ":", 0);
  return pOptionen;
}

}  // namespace

const Film_Art* Film_Art_Finden(const std::string& pfad) {
  for (const Film_Art& art : Arten) {
    const std::string endung = art.szEndung;
    if (pfad.size() > endung.size() &&
        pfad.compare(pfad.size() - endung.size(), endung.size(), endung) == 0)
      return &art;
  }
  return nullptr;
}

struct Kodierer::Zustand {
  AVFormatContext* pFormat = nullptr;
  AVCodecContext* pKodierer = nullptr;
  AVStream* pStrom = nullptr;
  SwsContext* pWandler = nullptr;
  AVFilterGraph* pGraph = nullptr;
  AVFilterContext* pQuelle = nullptr;
  AVFilterContext* pSenke = nullptr;
  AVFrame* pBild = nullptr;       // in the encoder's format, or RGB for the filters
  AVFrame* pRoh = nullptr;        // the back buffer's pixels, for libswscale
  AVFrame* pRgb = nullptr;        // a 16-bit back buffer's, widened
  AVFrame* pGefiltert = nullptr;
  AVPixelFormat RohFormat = AV_PIX_FMT_NONE;
  D3DFORMAT Format = D3DFMT_UNKNOWN;
  AVPacket* pPaket = nullptr;
  std::int64_t nZeit = 0;
  unsigned nBreite = 0;
  unsigned nHoehe = 0;

  ~Zustand() {
    if (pFormat) avio_closep(&pFormat->pb);
    avformat_free_context(pFormat);
    avcodec_free_context(&pKodierer);
    sws_freeContext(pWandler);
    avfilter_graph_free(&pGraph);
    av_frame_free(&pBild);
    av_frame_free(&pRoh);
    av_frame_free(&pRgb);
    av_frame_free(&pGefiltert);
    av_packet_free(&pPaket);
  }

  std::string Graph_Bauen(const char* szFilter) {
    pGraph = avfilter_graph_alloc();
    pGefiltert = av_frame_alloc();
    if (!pGraph || !pGefiltert) return "out of memory";
    char szQuelle[128];
    std::snprintf(szQuelle, sizeof szQuelle,
                  "video_size=%ux%u:pix_fmt=%d:time_base=1/25:pixel_aspect=1/1", nBreite, nHoehe,
                  int(AV_PIX_FMT_RGB24));
    int n = avfilter_graph_create_filter(&pQuelle, avfilter_get_by_name("buffer"), "in", szQuelle,
                                         nullptr, pGraph);
    if (n >= 0)
      n = avfilter_graph_create_filter(&pSenke, avfilter_get_by_name("buffersink"), "out", nullptr,
                                       nullptr, pGraph);
    const AVPixelFormat Formate[] = {AV_PIX_FMT_PAL8, AV_PIX_FMT_NONE};
    if (n >= 0)
      n = av_opt_set_int_list(pSenke, "pix_fmts", Formate, AV_PIX_FMT_NONE,
                              AV_OPT_SEARCH_CHILDREN);
    if (n < 0) return "cannot build the palette filters: " + Grund(n);
    AVFilterInOut* pAus = avfilter_inout_alloc();
    AVFilterInOut* pEin = avfilter_inout_alloc();
    if (pAus && pEin) {
      pAus->name = av_strdup("in");
      pAus->filter_ctx = pQuelle;
      pEin->name = av_strdup("out");
      pEin->filter_ctx = pSenke;
      n = avfilter_graph_parse_ptr(pGraph, szFilter, &pEin, &pAus, nullptr);
      if (n >= 0) n = avfilter_graph_config(pGraph, nullptr);
    } else {
      n = AVERROR(ENOMEM);
    }
    avfilter_inout_free(&pAus);
    avfilter_inout_free(&pEin);
    return n < 0 ? "cannot build the palette filters: " + Grund(n) : "";
  }

  // Sends a frame (null: the end) to the encoder and writes what it gives.
  std::string Senden(const AVFrame* pFrame) {
    int n = avcodec_send_frame(pKodierer, pFrame);
    while (n >= 0) {
      n = avcodec_receive_packet(pKodierer, pPaket);
      if (n == AVERROR(EAGAIN) || n == AVERROR_EOF) return "";
      if (n < 0) break;
      av_packet_rescale_ts(pPaket, pKodierer->time_base, pStrom->time_base);
      pPaket->stream_index = pStrom->index;
      n = av_interleaved_write_frame(pFormat, pPaket);
    }
    return Grund(n);
  }

  // libswscale, on threads of its own, from the back buffer's format; a
  // 16-bit one first widened to RGB0 as the captures widen it (libswscale
  // would shift its channels, not widen them). A bilinear filter over
  // every pixel's chroma takes half the time of a bicubic one for 0.3 dB
  // of the film's PSNR; the fast path without exact rounding would lose
  // 1.3 dB.
  std::string Wandler_Bauen(AVPixelFormat Ziel) {
    const bool b32 = Format == D3DFMT_X8R8G8B8 || Format == D3DFMT_A8R8G8B8;
    RohFormat = b32 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_RGB0;
    pRoh = av_frame_alloc();
    pWandler = sws_alloc_context();
    if (!pRoh || !pWandler) return "out of memory";
    if (!b32) {
      pRgb = av_frame_alloc();
      if (!pRgb) return "out of memory";
      pRgb->format = AV_PIX_FMT_RGB0;
      pRgb->width = int(nBreite);
      pRgb->height = int(nHoehe);
      const int n = av_frame_get_buffer(pRgb, 1);
      if (n < 0) return Grund(n);
    }
    int n = 0;
    for (const auto& [szName, nWert] :
         {std::pair<const char*, std::int64_t>{"srcw", nBreite}, {"srch", nHoehe},
          {"src_format", RohFormat}, {"dstw", nBreite}, {"dsth", nHoehe}, {"dst_format", Ziel},
          {"sws_flags", SWS_BILINEAR | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP}, {"threads", 0}})
      if (n >= 0) n = av_opt_set_int(pWandler, szName, nWert, 0);
    if (n >= 0) n = sws_init_context(pWandler, nullptr, nullptr);
    return n < 0 ? "cannot convert the frames for the encoder: " + Grund(n) : "";
  }

  // Takes what the filters made of the frames so far to the encoder.
  std::string Gefiltertes_Senden() {
    for (;;) {
      const int n = av_buffersink_get_frame(pSenke, pGefiltert);
      if (n == AVERROR(EAGAIN) || n == AVERROR_EOF) return "";
      if (n < 0) return Grund(n);
      const std::string grund = Senden(pGefiltert);
      av_frame_unref(pGefiltert);
      if (!grund.empty()) return grund;
    }
  }
};

Kodierer::Kodierer() = default;
Kodierer::~Kodierer() = default;

std::string Kodierer::Oeffnen(const Film_Art& art, const std::string& ausgabe, bool bSuchbar,
                              UINT nBreite, UINT nHoehe, D3DFORMAT Format) {
  av_log_set_level(AV_LOG_QUIET);
  z = std::make_unique<Zustand>();
  z->nBreite = nBreite;
  z->nHoehe = nHoehe;
  z->Format = Format;
  int n = avformat_alloc_output_context2(&z->pFormat, nullptr, art.szFormat, nullptr);
  if (n < 0) return std::string("FFmpeg cannot write ") + art.szFormat + ": " + Grund(n);
  const AVCodec* pArt = avcodec_find_encoder_by_name(art.szKodierer);
  if (!pArt) return std::string("FFmpeg has no ") + art.szKodierer + " encoder";
  z->pStrom = avformat_new_stream(z->pFormat, nullptr);
  z->pKodierer = avcodec_alloc_context3(pArt);
  z->pBild = av_frame_alloc();
  z->pPaket = av_packet_alloc();
  if (!z->pStrom || !z->pKodierer || !z->pBild || !z->pPaket) return "out of memory";

  AVCodecContext& k = *z->pKodierer;
  k.width = int(nBreite);
  k.height = int(nHoehe);
  k.time_base = Takt;
  k.framerate = av_inv_q(Takt);
  k.sample_aspect_ratio = {1, 1};
  k.pix_fmt = art.Format;
  if (art.Format == AV_PIX_FMT_YUV420P) {
    // The pixels are sRGB; swscale's matrix is BT.601's, in video range.
    k.color_range = AVCOL_RANGE_MPEG;
    k.colorspace = AVCOL_SPC_SMPTE170M;
    k.color_primaries = AVCOL_PRI_BT709;
    k.color_trc = AVCOL_TRC_IEC61966_2_1;
  }
  if (z->pFormat->oformat->flags & AVFMT_GLOBALHEADER) k.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  AVDictionary* pOptionen = Optionen(art.szKodierOptionen);
  n = avcodec_open2(&k, pArt, &pOptionen);
  av_dict_free(&pOptionen);
  if (n < 0) return std::string("cannot start the ") + art.szKodierer + " encoder: " + Grund(n);
  n = avcodec_parameters_from_context(z->pStrom->codecpar, &k);
  if (n < 0) return Grund(n);
  z->pStrom->time_base = Takt;
  z->pStrom->avg_frame_rate = av_inv_q(Takt);

  z->pBild->format = art.Format;
  if (art.szFilter) {
    const std::string grund = z->Graph_Bauen(art.szFilter);
    if (!grund.empty()) return grund;
    z->pBild->format = AV_PIX_FMT_RGB24;
  } else if (art.Format != AV_PIX_FMT_RGB24) {
    const std::string grund = z->Wandler_Bauen(art.Format);
    if (!grund.empty()) return grund;
  }
  // RGB rows without padding, as Farben_Aus_Puffer writes them.
  z->pBild->width = int(nBreite);
  z->pBild->height = int(nHoehe);
  n = av_frame_get_buffer(z->pBild, z->pBild->format == AV_PIX_FMT_RGB24 ? 1 : 0);
  if (n < 0) return Grund(n);

  // The file protocol, whatever the name holds (a colon is no protocol
  // here); an MP4 reads its file back by this name to move its index.
  const std::string url = "file:" + ausgabe;
  z->pFormat->url = av_strdup(url.c_str());
  if (!z->pFormat->url) return "out of memory";
  n = avio_open(&z->pFormat->pb, url.c_str(), AVIO_FLAG_WRITE);
  if (n < 0) return Grund(n);
  pOptionen = Optionen(art.szFormatOptionen);
  if (bSuchbar) av_dict_parse_string(&pOptionen, art.szSuchbarOptionen, "=", ":", 0);
  n = avformat_write_header(z->pFormat, &pOptionen);
  av_dict_free(&pOptionen);
  return n < 0 ? Grund(n) : "";
}

std::string Kodierer::Bild(const void* pBits, int nPitch) {
  AVFrame& b = *z->pBild;
  int n = av_frame_make_writable(&b);
  if (n < 0) return Grund(n);
  if (z->pWandler) {
    // The caller's pixels (or their widening), lent to libswscale without a
    // copy.
    AVFrame& roh = *z->pRoh;
    if (z->pRgb) {
      Farben_Aus_Puffer(pBits, nPitch, z->nBreite, z->nHoehe, z->Format, z->pRgb->data[0], 4);
      n = av_frame_ref(&roh, z->pRgb);
    } else {
      roh.format = z->RohFormat;
      roh.width = int(z->nBreite);
      roh.height = int(z->nHoehe);
      roh.data[0] = static_cast<std::uint8_t*>(const_cast<void*>(pBits));
      roh.linesize[0] = nPitch;
      roh.buf[0] = av_buffer_create(
          roh.data[0], std::size_t(nPitch) * z->nHoehe, [](void*, std::uint8_t*) {}, nullptr,
          AV_BUFFER_FLAG_READONLY);
      n = roh.buf[0] ? 0 : AVERROR(ENOMEM);
    }
    if (n >= 0) n = sws_scale_frame(z->pWandler, &b, &roh);
    av_frame_unref(&roh);
    if (n < 0) return Grund(n);
  } else {
    Farben_Aus_Puffer(pBits, nPitch, z->nBreite, z->nHoehe, z->Format, b.data[0], 3);
  }
  b.pts = z->nZeit++;
  if (!z->pGraph) return z->Senden(&b);
  n = av_buffersrc_add_frame_flags(z->pQuelle, &b, AV_BUFFERSRC_FLAG_KEEP_REF);
  return n < 0 ? Grund(n) : z->Gefiltertes_Senden();
}

std::string Kodierer::Schliessen() {
  std::string grund;
  if (z->pGraph) {
    const int n = av_buffersrc_add_frame_flags(z->pQuelle, nullptr, 0);
    grund = n < 0 ? Grund(n) : z->Gefiltertes_Senden();
  }
  if (grund.empty()) grund = z->Senden(nullptr);
  if (grund.empty()) {
    const int n = av_write_trailer(z->pFormat);
    if (n < 0) grund = Grund(n);
  }
  const int n = avio_closep(&z->pFormat->pb);
  if (grund.empty() && n < 0) grund = Grund(n);
  return grund;
}

}  // namespace ersatz
