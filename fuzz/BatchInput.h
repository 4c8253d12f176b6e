#pragma once

// One fuzz input through everything the embedded engine does with a batch: the lexer, the
// batch splitter and compiler, the statement and expression translators, the value rules of
// the SQL functions and a run of the batch on a fresh in-memory database with every result
// read to its end. A refusal (DbError) is a valid outcome; a crash, a hang or a sanitizer
// report is not.

#include <cstddef>
#include <cstdint>

namespace md::fuzz {

void runBatchInput(const uint8_t* data, size_t size);

}  // namespace md::fuzz
