// MessageDocument: the one message being edited, apart from any window. It owns the message
// (its pages and their items), the edit state (the current page, and whether the user changed
// anything since the message was opened or handed over) and the paths of the working folders in
// which every media file of the message lives.
#pragma once

#include <memory>

#include "platform/rtl/AnsiString.h"

class TK3VNMms;

class MessageDocument {
 public:
  MessageDocument();
  ~MessageDocument();
  MessageDocument(const MessageDocument&) = delete;
  MessageDocument& operator=(const MessageDocument&) = delete;

  // The message, or null until the first page is made.
  TK3VNMms* Message() const { return message.get(); }
  // The message, an empty one made first when there is none.
  TK3VNMms& EnsureMessage();
  // Takes `replacement` (null: no message) in place of the message held, which is answered.
  std::unique_ptr<TK3VNMms> ReplaceMessage(std::unique_ptr<TK3VNMms> replacement);
  // The number of pages, 0 without a message.
  int PageCount() const;

  // The working folders' names in tmp/ of the application folder.
  static constexpr const char* kTxtFolder = "TXT";
  static constexpr const char* kImageFolder = "Image";
  static constexpr const char* kVideoFolder = "Video";
  static constexpr const char* kAudioFolder = "Audio";
  static constexpr const char* kSendFolder = "Send";
  static constexpr const char* kPreviewFolder = "Preview";
  static constexpr const char* kSizeTempFolder = "Sizetemp";
  // Points the seven working folders' paths into tmp/ of `exeDir`.
  void SetFolders();

  // --- The edit state ---
  int curFrame = -1;      // the current page, -1 when none
  bool modified = false;  // set by any edit: the close question is asked only then

  // --- The working folders ---
  AnsiString exeDir;  // the application folder, ending in "/"
  AnsiString txtDir, imageDir, videoDir, audioDir, sendDir, previewDir, sizeTempDir;

 private:
  std::unique_ptr<TK3VNMms> message;
};
