// The option vocabulary: every option name of a conversion reaches the engine through
// SetExtOption and goes to a field, a handler, or the generic option setter.
#include <unordered_map>

#include "media/FFmpeg.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {
using THandler = void (*)(TCustomFFmpeg& E, const String& N, const String& V);
}  // namespace

// Names are matched exactly (case counts). Options of 2010 that lost their meaning and
// would silently change the result when ignored raise "Removed, ..."; those whose effect
// is now reached another way keep their field and are mapped where they are consumed.
void TCustomFFmpeg::SetExtOption(const String& AName, const String& AValue) {
  // An empty line of the extra options is no option.
  if (Trim(AName).empty()) return;

  struct TVocabulary {
    std::unordered_map<String, std::function<void(TCustomFFmpeg&, const String&, const String&)>> Map;
  };
  static const TVocabulary Vocabulary = [] {
    TVocabulary V;
    auto& M = V.Map;
    auto Flag = [](bool TCustomFFmpeg::*Field) {
      return [Field](TCustomFFmpeg& E, const String&, const String& Val) { E.*Field = Val != "0"; };
    };
    auto Int = [](Integer TCustomFFmpeg::*Field) {
      return [Field](TCustomFFmpeg& E, const String&, const String& Val) { E.*Field = StrToInt(Val); };
    };
    auto Dec = [](Single TCustomFFmpeg::*Field) {
      return [Field](TCustomFFmpeg& E, const String&, const String& Val) {
        E.*Field = static_cast<Single>(StrToFloat(Val));
      };
    };
    auto Text = [](String TCustomFFmpeg::*Field) {
      return [Field](TCustomFFmpeg& E, const String&, const String& Val) { E.*Field = Val; };
    };
    auto Nothing = [](TCustomFFmpeg& E, const String& N, const String&) {
      E.Log(llInfo, "Do nothing: option - " + N);
    };
    for (const char* N : {"L", "h", "version", "formats", "codecs", "bsfs", "protocols", "filters",
                          "i", "y", "benchmark"})
      M[N] = Nothing;
    M["loglevel"] = [](TCustomFFmpeg&, const String&, const String& Val) {
      GetFFLogger()->OptLogLevel(Val);
    };
    M["timelimit"] = [](TCustomFFmpeg& E, const String&, const String&) {
      E.Log(llWarning, "Warning: -timelimit not implemented on Windows");
    };
    M["dump"] = Flag(&TCustomFFmpeg::Fdo_pkt_dump);
    M["hex"] = Flag(&TCustomFFmpeg::Fdo_hex_dump);
    M["re"] = Flag(&TCustomFFmpeg::Frate_emu);
    // Applied as the image demuxer's "loop" option when the next input opens.
    M["loop_input"] = Flag(&TCustomFFmpeg::Floop_input);
    M["copyts"] = Flag(&TCustomFFmpeg::Fcopy_ts);
    M["copytb"] = Flag(&TCustomFFmpeg::Fcopy_tb);
    M["shortest"] = Flag(&TCustomFFmpeg::Fopt_shortest);
    M["xerror"] = Flag(&TCustomFFmpeg::Fexit_on_error);
    M["intra"] = Flag(&TCustomFFmpeg::Fintra_only);
    M["vn"] = Flag(&TCustomFFmpeg::Fvideo_disable);
    // Done by a deinterlacing step of the video filter chain.
    M["deinterlace"] = Flag(&TCustomFFmpeg::Fdo_deinterlace);
    M["psnr"] = Flag(&TCustomFFmpeg::Fdo_psnr);
    M["qphist"] = Flag(&TCustomFFmpeg::Fqp_hist);
    M["force_fps"] = Flag(&TCustomFFmpeg::Fforce_fps);
    M["an"] = Flag(&TCustomFFmpeg::Faudio_disable);
    M["sn"] = Flag(&TCustomFFmpeg::Fsubtitle_disable);
    M["isync"] = Flag(&TCustomFFmpeg::Finput_sync);
    M["sameq"] = [](TCustomFFmpeg& E, const String&, const String& Val) {
      if (Val != "0")
        throw FFmpegException("Removed, use qscale or a quality option of the codec instead");
      E.Fsame_quality = false;
    };

    for (auto [N, I] : {std::pair{"dframes", mtData}, {"vframes", mtVideo}, {"aframes", mtAudio}}) {
      const int Index = I;
      M[N] = [Index](TCustomFFmpeg& E, const String&, const String& Val) {
        E.Fmax_frames[Index] = StrToInt(Val);
      };
    }
    M["loop_output"] = Int(&TCustomFFmpeg::Floop_output);
    M["vsync"] = Int(&TCustomFFmpeg::Fvideo_sync_method);
    M["async"] = Int(&TCustomFFmpeg::Faudio_sync_method);
    M["vglobal"] = Int(&TCustomFFmpeg::Fvideo_global_header);
    M["programid"] = Int(&TCustomFFmpeg::Fopt_programid);
    M["copyinkf"] = Int(&TCustomFFmpeg::Fcopy_initial_nonkeyframes);
    M["vdt"] = Int(&TCustomFFmpeg::Fvideo_discard);
    M["dc"] = Int(&TCustomFFmpeg::Fintra_dc_precision);
    // Through its setter, which keeps the volume from going negative.
    M["vol"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetAudioVolume(StrToInt(Val)); };
    M["fs"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.Flimit_filesize = StrToInt64(Val); };
    M["adrift_threshold"] = Dec(&TCustomFFmpeg::Faudio_drift_threshold);
    M["dts_delta_threshold"] = Dec(&TCustomFFmpeg::Fdts_delta_threshold);
    M["aq"] = Dec(&TCustomFFmpeg::Faudio_qscale);
    M["muxdelay"] = Dec(&TCustomFFmpeg::Fmux_max_delay);
    M["muxpreload"] = Dec(&TCustomFFmpeg::Fmux_preload);
    M["vlang"] = Text(&TCustomFFmpeg::Fvideo_language);
    M["alang"] = Text(&TCustomFFmpeg::Faudio_language);
    M["slang"] = Text(&TCustomFFmpeg::Fsubtitle_language);
    M["force_key_frames"] = Text(&TCustomFFmpeg::Fforced_key_frames);
    M["passlogfile"] = Text(&TCustomFFmpeg::Fpass_logfilename_prefix);
    M["v"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVerbose(StrToInt(Val)); };
    M["threads"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetThreadCount(StrToInt(Val)); };
    M["me_threshold"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetMeThreshold(StrToInt(Val)); };
    M["top"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetTopFieldFirst(StrToInt(Val)); };
    M["pass"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetPass(StrToInt(Val)); };
    M["ar"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetAudioRate(StrToInt(Val)); };
    M["ac"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetAudioChannels(StrToInt(Val)); };
    M["vc"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVideoChannel(StrToInt(Val)); };
    M["qscale"] = [](TCustomFFmpeg& E, const String&, const String& Val) {
      E.SetQScale(static_cast<Single>(StrToFloat(Val)));
    };
    M["f"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetForceFormat(Val); };
    M["map"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.AddStreamMap(Val); };
    M["map_meta_data"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.AddMetaDataMap(Val); };
    M["map_chapters"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.AddChapterMap(Val); };
    M["t"] = [](TCustomFFmpeg& E, const String& N, const String& Val) { E.SetRecordingTimeText(N, Val); };
    M["ss"] = [](TCustomFFmpeg& E, const String& N, const String& Val) { E.SetStartTimeText(N, Val); };
    M["itsoffset"] = [](TCustomFFmpeg& E, const String& N, const String& Val) { E.SetInputTsOffset(N, Val); };
    M["timestamp"] = [](TCustomFFmpeg& E, const String& N, const String& Val) { E.SetRecordingTimestamp(N, Val); };
    M["itsscale"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetInputTsScale(Val); };
    M["metadata"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetMetadataOption(Val); };
    M["streamid"] = [](TCustomFFmpeg& E, const String& N, const String& Val) { E.SetStreamId(N, Val); };
    M["target"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetTargetText(Val); };
    for (const char* N : {"b", "vb", "ab"})
      M[N] = [](TCustomFFmpeg& E, const String& Nm, const String& Val) { E.SetBitrate(Nm, Val); };
    M["r"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetFrameRate(Val); };
    M["s"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetFrameSize(Val); };
    M["aspect"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetAspectRatio(Val); };
    M["pix_fmt"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetPixelFormat(Val); };
    M["sample_fmt"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetSampleFormat(Val); };
    for (const char* N : {"croptop", "cropbottom", "cropleft", "cropright"})
      M[N] = [](TCustomFFmpeg&, const String&, const String&) {
        throw FFmpegException("Removed, use the crop filter instead");
      };
    for (const char* N : {"padtop", "padbottom", "padleft", "padright", "padcolor"})
      M[N] = [](TCustomFFmpeg&, const String&, const String&) {
        throw FFmpegException("Removed, use the pad filter instead");
      };
    M["rc_override"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetRcOverride(Val); };
    M["tvstd"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVideoStandard(Val); };
    M["vstats_file"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVStatsFile(Val); };
    M["vstats"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVStats(Val != "0"); };
    M["vcodec"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVideoCodec(Val); };
    M["acodec"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetAudioCodec(Val); };
    M["scodec"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetSubtitleCodec(Val); };
    M["vhook"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.AddVideoHook(Val); };
    for (const char* N : {"vfilters", "vf"})
      M[N] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetVFilters(Val); };
    M["intra_matrix"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetIntraMatrix(Val); };
    M["inter_matrix"] = [](TCustomFFmpeg& E, const String&, const String& Val) { E.SetInterMatrix(Val); };
    for (const char* N : {"vtag", "atag", "stag"})
      M[N] = [](TCustomFFmpeg& E, const String& Nm, const String& Val) { E.SetCodecTag(Nm, Val); };
    // New streams in the output opened last are made by the output set-up, which
    // reads these names from the output's option lines.
    for (const char* N : {"newvideo", "newaudio", "newsubtitle"})
      M[N] = [](TCustomFFmpeg& E, const String& Nm, const String&) { E.AddNewStream(Nm); };
    for (const char* N : {"absf", "vbsf", "sbsf"})
      M[N] = [](TCustomFFmpeg& E, const String& Nm, const String& Val) { E.AddBitstreamFilter(Nm, Val); };
    for (const char* N : {"apre", "vpre", "spre", "fpre"})
      M[N] = [](TCustomFFmpeg& E, const String& Nm, const String& Val) { E.ApplyPreset(Nm, Val); };
    return V;
  }();

  auto It = Vocabulary.Map.find(AName);
  if (It != Vocabulary.Map.end()) {
    It->second(*this, AName, AValue);
    return;
  }
  if (!SetGenericOption(AName, AValue) && HaltOnInvalidOption) RaiseOptionError();
}

}  // namespace vantrel::media
