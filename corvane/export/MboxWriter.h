// One folder's messages as a single mbox file (the mboxrd form): each
// message follows a "From " line with its sender's address and date, lines
// that begin with "From " after any number of '>' get one more '>' so no
// message line can be taken for a message start, line ends become LF, and a
// blank line follows each message. Written through OutputFile: whole or not
// at all.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/OutputFile.h"

#include <filesystem>
#include <string>

namespace corvane::exporting {

// The "From " line of a message, with its LF: "From sender@example.com Mon Jan 20 18:13:04 2025".
std::string MboxFromLine(const MessageFacts& facts);

// Turns a message's text, fed in pieces of any size, into its mbox lines.
class MboxrdQuoter {
public:
    void Feed(const char* data, size_t size, std::string& out);
    // Ends the message: what is held back, a line end if the text lacked
    // one, and the blank line that closes the message.
    void Finish(std::string& out);

private:
    void Put(char c, std::string& out);
    std::string held_;         // the start of a line while it may still be ">*From "
    bool matching_ = true;     // the current line's start is being held
    bool pendingCr_ = false;   // a CR that may be the first half of CRLF
    bool endsInLf_ = true;     // nothing written yet counts as a line end
};

class MboxWriter {
public:
    bool Open(const std::filesystem::path& finalPath) { return file_.Open(finalPath); }
    bool IsOpen() const { return file_.IsOpen(); }
    bool BeginMessage(const MessageFacts& facts);
    bool Write(const char* data, size_t size);
    bool EndMessage();
    // Removes the message begun last, as if never begun.
    bool AbandonMessage();
    bool Commit() { return file_.Commit(); }
    void Discard() { file_.Discard(); }
    const std::string& Error() const { return file_.Error(); }
    const std::filesystem::path& FinalPath() const { return file_.FinalPath(); }

private:
    OutputFile file_;
    MboxrdQuoter quoter_;
    std::string out_;
    int64_t messageStart_ = 0;
};

}  // namespace corvane::exporting
