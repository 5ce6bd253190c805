#pragma once

#include "dictstore/errors.h"

#include <chrono>
#include <cstdio>

namespace dictstore {

// An advisory write lock on an open file, shared by every program of the
// suite that writes the dictionary. It belongs to the open file (not to the
// process), so two handles in one program exclude each other as two
// programs do. Readers do not take it.
//
// Tries for up to `patience` when another holder has it, then fails with
// Error::InUse.
Error lockForWriting(std::FILE* file, std::chrono::milliseconds patience);
void unlockForWriting(std::FILE* file);

}  // namespace dictstore
