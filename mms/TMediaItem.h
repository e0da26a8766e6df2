// A media item of a slide: the file that holds it and when it plays within the slide. The plain
// item is the slide's sound; pictures, texts and the two unused slots take a TVisualMediaItem.
#pragma once

#include <string>

class TMediaItem {
 public:
  // Item types, which are also the slot numbers of a slide.
  static constexpr int kText = 0;
  static constexpr int kImage = 1;
  static constexpr int kAudio = 2;
  static constexpr int kVideo = 3;
  static constexpr int kRef = 4;

  TMediaItem(const std::string& path, int dur);
  TMediaItem(const std::string& path, const std::string& extra, int begin, int end, int dur);
  // The type is not kept: a plain item is always a sound.
  TMediaItem(int type, const std::string& path, int dur);
  TMediaItem(const TMediaItem&) = default;
  TMediaItem& operator=(const TMediaItem&) = delete;
  virtual ~TMediaItem();

  // 0 for type 2, else -2; a plain item stores no type.
  virtual int SetType(int type);
  virtual int GetType() const;

  int SetPath(const std::string& path);
  int SetExtra(const std::string& extra);

  std::string Path;   // full path of the item's file (system code page)
  std::string Extra;  // carried along and copied; nothing here reads it
  int Begin = 0;      // ms from the start of the slide
  int End = 0;        // Begin + Dur after every timing operation
  int Dur = 0;        // ms; 0 on creation, so the item runs to the end of the slide it enters
};
