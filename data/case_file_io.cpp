#include "data/case_file_io.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace quorvane {

namespace {

int ErrorNumber(int errorCode) {
    switch (errorCode) {
    case ENOSPC:
    case EDQUOT:
        return case_error::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return case_error::kPermissionDenied;
    case ENOENT:
        return case_error::kFileNotFound;
    default:
        return case_error::kAccessError;
    }
}

std::string Advice(int number) {
    switch (number) {
    case case_error::kDiskFull:
        return " The disk is full; free some space or save to another disk.";
    case case_error::kPermissionDenied:
        return " The file or its folder may not be changed; save to another folder.";
    case case_error::kFileNotFound:
        return " The file or its folder no longer exists; choose another file.";
    default:
        return " Check the disk and the file name, then try again.";
    }
}

} // namespace

CaseFile LoadCaseFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        const int number = ErrorNumber(error.value());
        throw CaseFileError(number, "The file " + path.string() + " cannot be read (" +
                                        error.message() + ")." + Advice(number));
    }
    if (size > kMaxCaseFileBytes) {
        throw CaseFileError(case_error::kInvalidValue,
                            "The file " + path.string() +
                                " is too large to be a Quorvane case file; choose another file.");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int number = ErrorNumber(errno);
        throw CaseFileError(number,
                            "The file " + path.string() + " cannot be opened." + Advice(number));
    }
    // One byte more than measured: a file that grew since it was measured is then read in
    // part, which the reader refuses, instead of being taken for the shorter file.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        throw CaseFileError(case_error::kAccessError, "Reading " + path.string() + " failed." +
                                                          Advice(case_error::kAccessError));
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadCaseFile(bytes);
}

void SaveCaseFile(const std::filesystem::path& path, const CaseFile& caseFile,
                  const FileWriteCalls& calls) {
    const std::vector<std::uint8_t> bytes = WriteCaseFile(caseFile);
    try {
        ReplaceFile(path, bytes, calls);
    } catch (const FileReplaceError& error) {
        const int number = ErrorNumber(error.Errno());
        throw CaseFileError(number, std::string(error.what()) + "." + Advice(number) +
                                        " The file as it was before is unchanged.");
    }
}

} // namespace quorvane
