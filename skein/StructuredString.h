// Structured strings: a record holds the items of a layout one after
// another, without separators: "%" as 2 bytes, "&" and "!" as 4, "#" and "@"
// as 8 (little-endian, as they are), and every string item ("$" and "$*"n)
// as a 16-bit little-endian length followed by that many bytes.
//
// A caller's structure in memory (SS_StoreAll's source, SS_FetchAll's
// target) is a byte string with the items back to back in their memory
// form: numbers as in a record; a "$" string as its 32-bit little-endian
// byte length followed by its bytes (the shape of a BSTR in memory); a
// "$*"n string as exactly n bytes, blank-padded.
#pragma once

#include "skein/Layout.h"
#include "skein/ResultSink.h"

#include <cstdint>
#include <string>

namespace skein {

// Status codes of the fetch and store members.
enum : int32_t {
    kSsOk = 0,
    kSsBadLayout = -1,  // empty layout, or longer than 255 bytes (StoreAll/FetchAll)
    kSsBadItem = -2,    // empty layout, no such item, type text that does not match, malformed input
    kSsNoMemory = -3,
    kSsStringTooLong = -4,  // a string over 65,535 bytes, or over its fixed length
    kSsRecordTooShort = 502,
};

int32_t ItemCount(Bytes layout);
int32_t PieceCount(Bytes layout);
// "%", "&", "!", "#", "@", "$" or "$*" + length; "" beyond the layout.
std::string ItemType(Bytes layout, int32_t item);
int32_t PieceItemNo(Bytes layout, int32_t piece);
int32_t PieceSize(Bytes layout, int32_t piece);
int32_t IsIndex(Bytes layout, int32_t piece);
int32_t LenType(Bytes layout);

// Item `item` of the record. For numbers `value` receives the raw bytes, for
// strings the string's bytes.
int32_t FetchItem(Bytes record, Bytes layout, int32_t item, Bytes typeText, std::string& value);
// The record with item `item` set. Items the record does not yet hold (it
// may be empty) are written as zero numbers and empty strings. A number value
// must have exactly the item's width. Empty result (nothing written) when the
// layout, item, type text or value do not fit, or the record is malformed.
void StoreItem(Bytes record, Bytes layout, int32_t item, Bytes typeText, Bytes value, ResultSink& sink);
// Structure image -> record, and record -> structure image.
int32_t StoreAll(Bytes source, Bytes layout, ResultSink& sink);
int32_t FetchAll(Bytes record, Bytes layout, ResultSink& sink);

}  // namespace skein
