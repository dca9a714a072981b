#include "corvane/export/DbxMessageReader.h"

#include "corvane/export/DbxFormat.h"
#include "corvane/export/DbxInfoRecord.h"
#include "corvane/export/DbxRecovery.h"
#include "corvane/export/DbxTextChain.h"
#include "corvane/export/DbxTree.h"
#include "corvane/export/HeaderFields.h"

#include <algorithm>
#include <vector>

namespace corvane::exporting {

using namespace dbx;

namespace {

// Fields the information record lacks are taken from the text's header.
void FillFromHeader(SourceFile& file, const ChainCheck& chain, const InfoRecord& record, MessageFacts& facts) {
    if (record.hasDate && record.hasSubject && record.hasSender) return;
    HeaderFacts header = ReadHeaderFacts(ChainStart(file, facts.textOffset, chain.length, kHeaderScanBytes));
    if (!record.hasDate) facts.date = header.date;
    if (!record.hasSubject) facts.subject = header.subject;
    if (!record.hasSender) {
        facts.senderName = header.senderName;
        facts.senderAddress = header.senderAddress;
    }
}

class DbxRead {
public:
    DbxRead(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor)
        : file_(file), options_(options), visitor_(visitor) {}

    ReadOutcome Run() {
        outcome_.isMessageFile = HasSignature(file_);
        if (!outcome_.isMessageFile) return outcome_;
        outcome_.headerCount = std::max<int64_t>(0, static_cast<int32_t>(file_.U32(kMessageCountOffset).value_or(0)));
        const int64_t root = file_.U32(kTreeRootOffset).value_or(0);
        bool going = true;
        if (root != 0) {
            going = WalkMessageTree(
                file_, root, [this](int64_t record) { return Listed(record); },
                [this](int64_t node, const std::string& why) { return IndexDamage(node, why); });
        }
        const int64_t reached = outcome_.listed + outcome_.damagedMessages;
        if (going && reached < outcome_.headerCount) {
            going = IndexDamage(kTreeRootOffset, "the index reaches " + std::to_string(reached) + " of the " +
                                                     std::to_string(outcome_.headerCount) +
                                                     " messages the file header counts");
        }
        if (going && options_.recover) going = Recover();
        outcome_.stopped = !going;
        return outcome_;
    }

private:
    bool Listed(int64_t recordOffset) {
        std::string why;
        std::optional<InfoRecord> record = ReadInfoRecord(file_, recordOffset, why);
        if (record && record->hasTextPointer && options_.recover) listedStarts_.push_back(record->facts.textOffset);
        bool going;
        if (!record || !record->hasTextPointer) {
            going = MessageDamage(recordOffset, why, false);
        } else {
            ChainCheck chain = CheckTextChain(file_, record->facts.textOffset);
            if (!chain.whole) {
                going = MessageDamage(recordOffset, chain.what, false);
            } else {
                FillFromHeader(file_, chain, *record, record->facts);
                ++outcome_.listed;
                going = Deliver(record->facts, chain);
            }
        }
        if (going && outcome_.headerCount > 0) {
            going = visitor_.OnProgress(std::min(1.0, static_cast<double>(outcome_.listed + outcome_.damagedMessages) /
                                                          static_cast<double>(outcome_.headerCount)) *
                                        (options_.recover ? 0.5 : 1.0));
        }
        return going;
    }

    bool Recover() {
        std::sort(listedStarts_.begin(), listedStarts_.end());
        std::optional<std::vector<int64_t>> starts = FindUnlistedChains(
            file_, listedStarts_, [this](double share) { return visitor_.OnProgress(0.5 + 0.4 * share); });
        listedStarts_.clear();
        if (!starts) return false;
        for (int64_t first : *starts) {
            ChainCheck chain = CheckTextChain(file_, first);
            if (!chain.whole) {
                if (!MessageDamage(first, chain.what, true)) return false;
                continue;
            }
            MessageFacts facts;
            facts.offset = first;
            facts.textOffset = first;
            facts.recovered = true;
            HeaderFacts header = ReadHeaderFacts(ChainStart(file_, first, chain.length, kHeaderScanBytes));
            facts.date = header.date;
            facts.subject = std::move(header.subject);
            facts.senderName = std::move(header.senderName);
            facts.senderAddress = std::move(header.senderAddress);
            ++outcome_.recovered;
            if (!Deliver(facts, chain)) return false;
        }
        return visitor_.OnProgress(1.0);
    }

    bool Deliver(const MessageFacts& facts, const ChainCheck& chain) {
        ChainText text(file_, facts.textOffset, chain.length);
        return visitor_.OnMessage(facts, text);
    }

    bool MessageDamage(int64_t offset, const std::string& why, bool recovered) {
        ++outcome_.damagedMessages;
        return visitor_.OnDamage({DamageKind::Message, offset, why, recovered});
    }

    bool IndexDamage(int64_t offset, const std::string& why) {
        ++outcome_.damagedIndexParts;
        return visitor_.OnDamage({DamageKind::Index, offset, why, false});
    }

    SourceFile& file_;
    const ReadOptions& options_;
    MessageVisitor& visitor_;
    ReadOutcome outcome_;
    std::vector<int64_t> listedStarts_;  // first blocks the index gave, kept only for recovery
};

}  // namespace

ReadOutcome ReadDbxMessages(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor) {
    return DbxRead(file, options, visitor).Run();
}

}  // namespace corvane::exporting
