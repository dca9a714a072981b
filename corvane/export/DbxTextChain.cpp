#include "corvane/export/DbxTextChain.h"

#include "corvane/export/DbxFormat.h"

#include <algorithm>

namespace corvane::exporting::dbx {

ChainCheck CheckTextChain(SourceFile& file, int64_t firstBlock) {
    ChainCheck check;
    // Distinct blocks cannot overlap their headers: no whole chain is longer.
    const int64_t mostBlocks = file.Size() / kBlockHeaderSize + 1;
    // Brent's loop finding: `saved` is re-taken at each power of two steps;
    // a walk that meets it again has gone round a loop.
    int64_t saved = firstBlock;
    int64_t power = 1, steps = 0;
    int64_t offset = firstBlock;
    for (;;) {
        std::optional<TextBlock> block = ReadTextBlock(file, offset, &check.what);
        if (!block) return check;
        check.length += block->textLength;
        if (++check.blocks > mostBlocks) {
            check.what = "the chain of text blocks is longer than the file can hold";
            return check;
        }
        if (block->next == 0) break;
        if (block->next == saved) {
            check.what = "the chain of text blocks loops back to " + Hex(block->next);
            return check;
        }
        if (++steps == power) {
            saved = block->next;
            power *= 2;
            steps = 0;
        }
        offset = block->next;
    }
    check.whole = true;
    check.what.clear();
    return check;
}

size_t ChainText::Read(char* out, size_t count) {
    size_t done = 0;
    while (done < count && delivered_ < length_ && !failed_) {
        if (leftInBlock_ == 0) {
            std::optional<TextBlock> block = next_ == 0 ? std::nullopt : ReadTextBlock(file_, next_);
            if (!block) {
                failed_ = true;  // the file changed or could not be read since the check
                break;
            }
            dataAt_ = block->offset + kBlockHeaderSize;
            leftInBlock_ = block->textLength;
            next_ = block->next;
            continue;
        }
        size_t take = static_cast<size_t>(
            std::min<int64_t>({static_cast<int64_t>(count - done), leftInBlock_, length_ - delivered_}));
        if (!file_.ReadAt(dataAt_, out + done, take)) {
            failed_ = true;
            break;
        }
        done += take;
        dataAt_ += static_cast<int64_t>(take);
        leftInBlock_ -= static_cast<uint32_t>(take);
        delivered_ += static_cast<int64_t>(take);
    }
    return done;
}

std::string ChainStart(SourceFile& file, int64_t firstBlock, int64_t length, size_t most) {
    ChainText text(file, firstBlock, length);
    std::string start(static_cast<size_t>(std::min<int64_t>(length, static_cast<int64_t>(most))), '\0');
    size_t got = 0;
    while (got < start.size()) {
        size_t n = text.Read(start.data() + got, start.size() - got);
        if (n == 0) break;
        got += n;
    }
    start.resize(got);
    return start;
}

}  // namespace corvane::exporting::dbx
