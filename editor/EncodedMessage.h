// The message built from the document and encoded once, for a save, a hand-over or a
// measurement. The bytes are owned for as long as the object lives, and the codec's composer is
// emptied again on every way out (a build or a write that raises included), so no command leaves
// the composer holding the document's media. What the caller sees keeps a build that could not
// take every page apart from bytes that could not be written.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

class MessageDocument;

class EncodedMessage {
 public:
  // Which pages the build takes.
  enum class Pages {
    kAll,       // every page or nothing: a refused page ends the build and nothing is encoded
    kReadable,  // every page the composer takes: a refused page is passed over (a measurement)
  };
  // What became of the bytes handed to a writer.
  enum Outcome { kWritten = 1, kBuildFailed = 0, kWriteFailed = -1 };

  explicit EncodedMessage(const MessageDocument& document, Pages pages = Pages::kAll);
  EncodedMessage(const EncodedMessage&) = delete;
  EncodedMessage& operator=(const EncodedMessage&) = delete;

  // Every page was taken and encoding gave bytes: the message as it would be saved or sent.
  bool Complete() const { return built_ && Size() > 0; }
  // The encoded byte count; 0 when nothing was encoded.
  std::size_t Size() const { return bytes_ ? count_ : 0; }

  // Hands the bytes of a complete message to `write` (a callable taking the bytes and their
  // count, true once they are all written): kWritten, kWriteFailed, or kBuildFailed, without
  // calling `write`, when the message is not complete.
  template <class Write>
  Outcome WriteWith(Write&& write) const {
    if (!Complete()) return kBuildFailed;
    return write(static_cast<const unsigned char*>(bytes_.get()), count_) ? kWritten : kWriteFailed;
  }

 private:
  // Empties the composer when it goes; the first member, so it goes last, and also when the
  // constructor raises after it was made.
  struct ComposerEmptied {
    ComposerEmptied() = default;
    ComposerEmptied(const ComposerEmptied&) = delete;
    ComposerEmptied& operator=(const ComposerEmptied&) = delete;
    ~ComposerEmptied();
  };
  struct FreeBytes {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
  };

  ComposerEmptied emptied_;
  bool built_ = false;
  std::unique_ptr<unsigned char, FreeBytes> bytes_;
  std::size_t count_ = 0;
};
