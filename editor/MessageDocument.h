// MessageDocument: the one message being edited, apart from any window. It owns the message
// (its pages and their items), the edit state (the current page, and whether the user changed
// anything since the message was opened or handed over) and the paths of the working folders in
// which every media file of the message lives. It builds itself in the codec's composer, gives
// the current page its duration, appends and removes pages and their items, keeps the subject
// within its limit, takes pictures, sounds and texts into its pages (and takes a refused one back
// exactly), takes pasted pages and items (and takes a paste back exactly), and unpacks an opened
// message into its working folders.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/rtl/AnsiString.h"

class TK3VNMms;
class TMediaItem;
class TMmsFrame;

// What one paste changed, so that it can be taken back exactly.
struct TPasteRecord {
  int insertedPage = -1;                 // the index of a pasted page
  int page = -1;                         // the page an item went into ...
  int slot = -1;                         // ... its slot ...
  std::unique_ptr<TMediaItem> replaced;  // ... and the item that was there, if any
  bool appended = false;                 // the page was appended for the paste
  int curFrameBefore = -1;
  TPasteRecord();
  ~TPasteRecord();
};

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
  // Whether the message has a page of this index.
  bool IsPage(int index) const;
  // The pages' durations added up, in milliseconds.
  long long TotalDurationMs() const;

  // --- Pages and their items ---
  // The most pages a message holds.
  static constexpr int kMaxPages = 20;
  // Appends an empty page (the message made first when there is none) and makes it current: its
  // index, or -1 with nothing changed when the message already holds kMaxPages.
  int AppendPage();
  // Removes the page; the current page stays on the same index, or the last page when it was
  // the last. False, with nothing changed, without such a page.
  bool RemovePage(int index);
  // Removes the page's item of a type (TMediaItem::kText, kImage, kAudio) and answers its path
  // ("" without one). A text file of the editor's own that no page uses any more is deleted with
  // it; pictures and sounds stay in their folders.
  std::string RemoveItem(int page, int type);
  // The path of the page's item of a type, "" without the page or the item.
  std::string ItemPath(int page, int type) const;
  // Whether an item of any page is the file at `path`.
  bool IsFileUsed(const std::string& path) const;
  // Deletes the file at `path` when it lies in the text folder itself (the editor deletes only
  // its own text files) and no page uses it.
  void DeleteOwnTextFile(const std::string& path) const;

  // --- Inserting pictures, sounds and texts into a page ---
  // Status codes of the insertions and pastes, as the window's commands answer them.
  static constexpr int kRefused = -1;
  static constexpr int kNoSuchPage = -4;
  static constexpr int kCannotOpen = -23;
  static constexpr int kNoSuchFile = -25;
  static constexpr int kTooManyPages = -26;
  // Whether a file is taken as a page's picture or sound, and why not.
  enum class FileCheck {
    kTaken,
    kNoSuchFile,
    kRefused,          // unreadable, not a regular file, empty, too short or unreadable as a picture
    kNotAPictureKind,  // the extension is none of .jpg, .bmp and .gif
    kNotItsKind,       // the extension is not the kind the picture's first bytes show
    kNotASoundKind,    // the extension is none of mid, wav and mp3
  };
  // A picture is taken when it is a regular file that opens, holds at least 128 bytes, has the
  // extension (.jpg, .bmp or .gif in any case) of the kind its first bytes show, and the picture
  // classes read it. Running out of memory, and any failure that is not the form library's,
  // goes on to the caller.
  static FileCheck CheckPicture(const AnsiString& path);
  // A sound is taken when the file is there, its extension is mid, wav or mp3 (all small or all
  // capitals) and it is a regular, non-empty file that opens.
  static FileCheck CheckSound(const AnsiString& path);
  // Marks the document changed and answers the page to insert into: the current page, or a page
  // appended (and made current) when none is current; -1 when there is none to be had.
  int PageForInsert();
  // Copies `source` into the working folder of `type` (kImage or kAudio) and gives the page the
  // copy as its item of that type (an item there keeps its place and takes the new path): 0, or
  // kRefused with nothing changed without the page or when no copy could be made.
  int InsertFile(int page, int type, const AnsiString& source);
  // Copies a file to `destination` through a temporary beside it, renamed into place only when
  // whole and never over a file: 0; kCannotOpen when the source does not open; kRefused when
  // both name one file or the copy could not be made whole.
  static int CopyMediaFile(const AnsiString& destination, const AnsiString& source);
  // Copies a media file into a working folder under its own name, or a numbered one
  // (name_1.ext, ...) when a different file has that name; a byte-identical file there is used
  // as it is. 0 with the copy's path, kRefused when the source is that very copy or copying
  // failed, kCannotOpen unreadable.
  int CopyIntoFolder(const AnsiString& folder, const AnsiString& source, AnsiString* copy);
  // The text file for a page without one: a name no page uses and no file has.
  AnsiString NewTextFileName(int index) const;
  // The page's own text file, or a new name for one.
  AnsiString TextFileFor(int page) const;
  // Gives the page the text file at `path`. A text that says nothing (no file, an empty one, or
  // only byte-order marks) is no text: the item goes and the file is deleted. Whether the page
  // holds a text now.
  bool TakeText(int page, const AnsiString& path);
  // Runs `insert` into the current page's slot of `type`, then asks `overLimit`. When it answers
  // true the slot gets exactly what it had (a text file its bytes); either way a copy the
  // insertion made anew goes again unless a page uses it. The insertion's result, or kRefused
  // when taken back (`overLimit` is asked only after a result of 0).
  int InsertKeepingLimit(int type, const std::function<int()>& insert,
                         const std::function<bool()>& overLimit);
  // Told of a picture's path once no page uses it (the window's picture cache forgets it).
  std::function<void(const std::string& path)> pictureDropped;

  // --- Pasting pages and items ---
  // Whether a pasted page has room: false when the message holds kMaxPages.
  bool HasRoomForPage() const { return PageCount() < kMaxPages; }
  // Whether a pasted item for page `index` has a page to go into: false when one would have to
  // be appended to a message that holds kMaxPages.
  bool HasRoomForItem(int index) const { return index < PageCount() || HasRoomForPage(); }
  // Puts `page` before page `index` (last when `index` is not below the page count): 0;
  // kNoSuchPage for a negative index or no page, kTooManyPages at the page limit, with nothing
  // changed. `record` learns what changed.
  int PastePage(int index, std::unique_ptr<TMmsFrame> page, TPasteRecord* record = nullptr);
  // Puts `item` into page `index`'s slot of `type`, keeping what was there in `record`; when
  // `index` is not below the page count a page is appended (and made current) for it first.
  // 0; kNoSuchPage for a negative index or no item, kTooManyPages at the page limit, with
  // nothing changed.
  int PasteItem(int index, int type, std::unique_ptr<TMediaItem> item, TPasteRecord* record = nullptr);
  // Takes back exactly what a paste changed; the current page is the one before the paste (the
  // last page when that is gone). A text file of its own the paste brought is deleted.
  void UndoPaste(TPasteRecord& record);
  // A name `folder`/`stem`<n>`ext` that no file or folder has yet, n the running number of
  // pasted files' names (which moves past taken names): a paste never overwrites a file.
  AnsiString NewPasteFileName(const AnsiString& folder, const char* stem, const char* ext);
  // Writes a pasted text (FF FE, UTF-16LE) to a new file of the TXT folder: its path, "" on
  // failure.
  AnsiString WritePastedText(const std::u16string& text);
  // The running number of the pasted files' names; a new document starts it at 0.
  int PasteCounter() const { return pasteCounter; }
  void SetPasteCounter(int next) { pasteCounter = next; }

  // --- Opening a message ---
  // Decodes a message file's bytes and unpacks its slides, up to kMaxPages, into pages of a new
  // message: the pictures (BMP, GIF and JPEG), texts and sounds (but AMR) into the working
  // folders under names of the page's index, never through a link. Each page gets its slide's
  // duration (or its longest item's end, else one second). The new message, or null with nothing
  // written when the bytes hold no message with a slide; the document itself is not touched.
  // `subject` gets the message's subject; `leftOut` names the parts no page holds, by kind
  // ("2 AMR, 1 PNG"), "" when every part is kept.
  std::unique_ptr<TK3VNMms> Unpack(const uint8_t* bytes, int count, std::u16string* subject,
                                   std::string* leftOut) const;
  // Takes an unpacked message in place of the message held, its first page current.
  void TakeOpened(std::unique_ptr<TK3VNMms> opened);

  // --- The current page's duration and the subject ---
  // The longest a page runs, in seconds.
  static constexpr int kMaxSeconds = 60;
  // The subject's limit in UTF-16 units.
  static constexpr int kSubjectLimit = 40;
  // The current page's duration in milliseconds as the page holds it (an opened message's page
  // may hold a negative one), 0 without a current page.
  int CurrentDuration() const;
  // Gives the current page `ms` and marks the document changed: false, with nothing changed,
  // without a current page.
  bool SetCurrentDuration(int ms);
  // The subject cut to its limit, never between the halves of a surrogate pair (the subject is
  // handed over as UTF-8); a subject within the limit comes back as it is.
  static std::u16string SubjectWithinLimit(std::u16string subject);
  // The message's subject, as handed over with it; kept within the limit.
  const std::u16string& Subject() const { return subject; }
  void SetSubject(std::u16string text) { subject = SubjectWithinLimit(std::move(text)); }

  // --- Building the message in the codec's composer ---
  // Hands the message to the composer page by page: 1, or 0 when a page's media could not be
  // handed over (the composer then holds only the pages before it).
  int BuildMms() const;
  // As BuildMms, but a refused page does not end the build: the composer holds every page it
  // took, so a measurement counts the pages after one whose media cannot be read. 1 when every
  // page was taken, else 0.
  int BuildReadablePages() const;
  int ComposePages(bool passRefusedPages) const;
  // The composer's current page: 1 when its items were taken, else 0.
  int AddFrameToMms() const;
  // Told of a fault the user should hear of, by its language key ("CreateMMS", "AddSlide");
  // unset, the fault goes unreported.
  std::function<void(const char* key)> warn;

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
  // The current page, -1 when none.
  int CurrentPage() const { return curFrame; }
  void SetCurrentPage(int index) { curFrame = index; }
  // Set by any edit: the close question is asked only then.
  bool Modified() const { return modified; }
  void SetModified(bool changed) { modified = changed; }

  // --- The working folders ---
  AnsiString exeDir;  // the application folder, ending in "/"
  AnsiString txtDir, imageDir, videoDir, audioDir, sendDir, previewDir, sizeTempDir;

 private:
  void Warn(const char* key) const {
    if (warn) warn(key);
  }
  // Tells pictureDropped of a picture path no page uses.
  void DropPicture(const std::string& path) const;
  std::unique_ptr<TK3VNMms> message;
  int curFrame = -1;
  bool modified = false;
  // The latest file CopyIntoFolder made anew (not one it found there), for a refused insertion.
  AnsiString madeCopy;
  int pasteCounter = 0;
  std::u16string subject;
};
