#pragma once

// Case files on the disk: reading a whole file (bounded in size) and saving one so that a
// failed save keeps the previous file.

#include "data/atomic_file.h"
#include "data/case_file.h"

#include <filesystem>

namespace quorvane {

// Reads and validates the file. Throws CaseFileError (kFileNotFound, kPermissionDenied,
// kAccessError, or what ReadCaseFile throws).
CaseFile LoadCaseFile(const std::filesystem::path& path);

// Writes the case over `path` through a temporary file beside it. Throws CaseFileError
// (kDiskFull, kPermissionDenied, kAccessError, or what WriteCaseFile throws); the previous file
// is then unchanged.
void SaveCaseFile(const std::filesystem::path& path, const CaseFile& caseFile,
                  const FileWriteCalls& calls = SystemFileWriteCalls());

} // namespace quorvane
