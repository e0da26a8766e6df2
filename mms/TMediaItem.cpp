#include "mms/TMediaItem.h"

TMediaItem::TMediaItem(const std::string& path, int dur) : Path(path), Dur(dur) {}

TMediaItem::TMediaItem(const std::string& path, const std::string& extra, int begin, int end, int dur)
    : Path(path), Extra(extra), Begin(begin), End(end), Dur(dur) {}

TMediaItem::TMediaItem(int /*type*/, const std::string& path, int dur) : TMediaItem(path, dur) {}

TMediaItem::~TMediaItem() = default;

int TMediaItem::SetType(int type) { return type == kAudio ? 0 : -2; }

int TMediaItem::GetType() const { return kAudio; }

int TMediaItem::SetPath(const std::string& path) {
  Path = path;
  return 0;
}

int TMediaItem::SetExtra(const std::string& extra) {
  Extra = extra;
  return 0;
}
