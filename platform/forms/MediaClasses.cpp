// The media player in the class registry, with the properties layouts set.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TMediaPlayer.h"

void RegisterMediaClasses() {
  static const std::vector<std::string> deviceTypeNames{
      "dtAutoSelect", "dtAVIVideo", "dtCDAudio",   "dtDAT", "dtDigitalVideo", "dtMMMovie",  "dtOther",
      "dtOverlay",    "dtScanner",  "dtSequencer", "dtVCR", "dtVideodisc",    "dtWaveAudio"};
  RegisterProperties<TMediaPlayer>("TMediaPlayer", "TCustomControl", Factory<TMediaPlayer>())
      .Str("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName)
      .Enum("DeviceType", &TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType, dtAutoSelect,
            &deviceTypeNames)
      .Bool("AutoOpen", &TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen, false)
      .Event("OnNotify", &TMediaPlayer::OnNotify);
}
