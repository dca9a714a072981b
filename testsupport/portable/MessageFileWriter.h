// Writers of Outlook Express message files for the export tests, the fuzz
// seeds and the export benchmark: a version-5 message file (.dbx) with its
// tree of information records and the chains of text blocks they point to,
// and a version-4 mail file (.mbx). They report where they put each part so
// a test can damage exactly that part. The inverse of corvane/export's
// readers; platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

struct StoredMessage {
    std::string text;       // the RFC 822 text, stored byte for byte
    uint64_t fileTime = 0;  // the record's date (FILETIME); 0 leaves the field out
    std::string subject;    // the record's texts, in the ANSI code page
    std::string senderName;
    std::string senderAddress;
    bool listed = true;  // false: record and text written but left out of the tree, as after a deletion
};

// Where each part of a .dbx file was written.
struct DbxMessageLayout {
    int32_t root = 0;
    std::vector<int32_t> nodes;
    std::vector<int32_t> records;              // per message, in the order given
    std::vector<std::vector<int32_t>> blocks;  // per message, in chain order
};

// Header (message count = listed messages), then the information records,
// the text blocks (0x210 bytes each, 0x200 of text) and the tree nodes. Up
// to 51 records fit one node; more make a tree of several levels whose
// in-order walk gives the listed messages in the order given.
std::vector<uint8_t> BuildDbxMessageFile(const std::vector<StoredMessage>& messages,
                                         DbxMessageLayout* layout = nullptr);

// An 84-byte header, then one record per text: marker, number, record length
// (padded to 16 bytes), text length, text. `recordOffsets` receives where
// each record starts.
std::vector<uint8_t> BuildMbxFile(const std::vector<std::string>& texts,
                                  std::vector<int32_t>* recordOffsets = nullptr);

// A short message text with the header fields the exporter reads.
std::string MessageText(const std::string& from, const std::string& subject, const std::string& date,
                        const std::string& body);

void PutLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);

}  // namespace corvane::testing
