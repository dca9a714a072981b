// The body shared by the two message-file fuzz targets: the bytes as a
// store file, read with recovery on, every message's text read to its end.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::fuzzing {

class DrainingVisitor : public exporting::MessageVisitor {
public:
    bool OnMessage(const exporting::MessageFacts&, exporting::MessageText& text) override {
        char buffer[4096];
        while (text.Read(buffer, sizeof buffer) > 0) {
        }
        return true;
    }
    bool OnDamage(const exporting::Damage&) override { return true; }
};

template <typename Reader>
int ReadMessageFile(const uint8_t* data, size_t size, Reader read) {
    std::vector<uint8_t> bytes(data, data + size);
    exporting::MemorySourceFile file(bytes);
    DrainingVisitor visitor;
    exporting::ReadOptions options;
    options.recover = true;
    read(file, options, visitor);
    return 0;
}

}  // namespace corvane::fuzzing
