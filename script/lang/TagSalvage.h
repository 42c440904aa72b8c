#pragma once
// Reads what can be read of a stored file of records that may be damaged:
// every "[" of the file is tried as the start of a record, in order, unless
// a record taken before holds it, so no damage around an intact record can
// hide it. One pass whatever the file holds: each "[" is tried at most once,
// and only a tag of the record's shape is handed on to be read.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "script/lang/TagTables.h"

// The form a writer gives its records: a tag of this name whose text ends
// with the closing quote of its last value, holding at most this many values.
struct StoredRecordShape {
    TagId name;
    std::size_t values;
};

// A stretch with no record read from it: where it starts, its length, the
// places that failed in it (a "[" that opened no record, stray text) and why
// the first one did.
struct SkippedRun {
    std::size_t offset = 0;
    std::size_t bytes = 0;
    std::size_t places = 0;
    std::string why;
};

// take gets each "[" at open that closes at close (the lexer's bracket rule
// from the character behind open) in the record's shape, and throws EScript
// to refuse it. skipped gets each run between the records taken, blanks left
// out of its ends. A "[" is tried only when every "[" before it is settled,
// so those that could still be records are held until they close; past
// MaxOpenRecords of them the oldest is given up. stop is asked once a
// stretch of StopAskedEvery bytes: a close must not wait for the rest of a
// file of tens of MiB. False when it ended the walk before the end.
bool SalvageRecords(std::string_view text, StoredRecordShape shape,
                    const std::function<void(std::size_t open, std::size_t close)>& take,
                    const std::function<void(const SkippedRun&)>& skipped, const std::function<bool()>& stop);

inline constexpr std::size_t StopAskedEvery = std::size_t{64} << 10;

// No stored record nests deeper; it bounds what an unclosed run holds in memory.
inline constexpr std::size_t MaxOpenRecords = 1024;
