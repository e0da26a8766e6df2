// The camera and picture data the EXIF reader takes out of a JPEG file: one plain block that the
// JPEG format class keeps beside its picture and that the reader fills. Trivially copyable; the
// thumbnail pointer points into the reader's copy of the EXIF section and is valid only while
// that reader lives.
#pragma once

#include <cstdint>

struct IxExifInfoBlock {
  char Version[5];
  char CameraMake[32];
  char CameraModel[40];
  char DateTime[20];
  int32_t Height;
  int32_t Width;
  int32_t Orientation;  // 1..8, 0 when undefined
  int32_t IsColor;
  int32_t Process;  // marker code of the frame header
  int32_t FlashUsed;
  float FocalLength;
  float ExposureTime;
  float ApertureFNumber;
  float Distance;
  float CCDWidth;  // sensor width
  float ExposureBias;
  int32_t Whitebalance;  // light source
  int32_t MeteringMode;
  int32_t ExposureProgram;
  int32_t ISOequivalent;
  int32_t CompressionLevel;
  float FocalplaneXRes;
  float FocalplaneYRes;
  float FocalplaneUnits;
  float Xresolution;
  float Yresolution;
  float ResolutionUnit;  // factor that turns the resolution into dots per inch
  float Brightness;
  char Comments[1000];
  const uint8_t* ThumbnailPointer;
  uint32_t ThumbnailSize;
  uint8_t IsExif;
};
