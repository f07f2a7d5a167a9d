// The library's version record and STM_GetDllVer.
//
// The record lives in an ELF note of the library file (owner "Calvix", type 1, section
// .note.calvix.version, shown by `readelf -n libcalvix.so`). Notes are loaded with the
// image, so STM_GetDllVer finds the record by locating, among the loaded modules, the one
// whose segments contain its own code, and walking that module's note segments. The
// answer therefore always describes this library file, never the calling program.

#include "calvix/calvix.h"
#include "calvix/constants.h"
#include "calvix/version_record.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <link.h>
#include <string_view>

namespace calvix {
namespace {

constexpr std::size_t Pad4(std::size_t n) {
    return (n + 3) / 4 * 4;
}

constexpr char kOwner[] = "Calvix";
constexpr std::uint32_t kNoteType = 1;
constexpr char kRecord[] = "ProductName=Calvix\n"
                           "FileDescription=Water and steam properties, IAPWS-IF97\n"
                           "ProductVersion=2, 2, 0, 0\n"
                           "FileVersion=2, 2, 0, 0\n";

// Layout of one ELF note: header, owner name and descriptor, each padded to 4 bytes.
struct VersionNote {
    std::uint32_t nameSize;
    std::uint32_t descSize;
    std::uint32_t type;
    char name[Pad4(sizeof kOwner)];
    char desc[Pad4(sizeof kRecord)];
};

constexpr VersionNote MakeNote() {
    VersionNote note{sizeof kOwner, sizeof kRecord, kNoteType, {}, {}};
    for (std::size_t k = 0; k < sizeof kOwner; ++k) {
        note.name[k] = kOwner[k];
    }
    for (std::size_t k = 0; k < sizeof kRecord; ++k) {
        note.desc[k] = kRecord[k];
    }
    return note;
}

[[gnu::used, gnu::section(".note.calvix.version"),
  gnu::aligned(4)]] constexpr VersionNote kVersionNote = MakeNote();

struct Search {
    std::uintptr_t self;     // an address inside this library's code
    std::string_view record; // the version record, once found
};

bool Contains(const dl_phdr_info& module, std::uintptr_t address) {
    for (std::size_t k = 0; k < module.dlpi_phnum; ++k) {
        const ElfW(Phdr)& ph = module.dlpi_phdr[k];
        const std::uintptr_t start = module.dlpi_addr + ph.p_vaddr;
        if (ph.p_type == PT_LOAD && address >= start && address - start < ph.p_memsz) {
            return true;
        }
    }
    return false;
}

// Walks the notes of one loaded note segment for ours.
std::string_view FindRecord(const unsigned char* notes, std::size_t size, std::size_t align) {
    const std::size_t a = align == 8 ? 8 : 4;
    auto pad = [a](std::size_t n) { return (n + a - 1) / a * a; };
    std::size_t offset = 0;
    while (size - offset >= sizeof(ElfW(Nhdr))) {
        ElfW(Nhdr) header;
        std::memcpy(&header, notes + offset, sizeof header);
        const std::size_t nameAt = offset + sizeof header;
        const std::size_t descAt = nameAt + pad(header.n_namesz);
        const std::size_t next = descAt + pad(header.n_descsz);
        if (descAt > size || next > size || next <= offset) {
            return {};
        }
        const auto* name = reinterpret_cast<const char*>(notes + nameAt);
        if (header.n_type == kNoteType && header.n_namesz == sizeof kOwner &&
            std::memcmp(name, kOwner, sizeof kOwner) == 0) {
            const auto* desc = reinterpret_cast<const char*>(notes + descAt);
            return {desc, strnlen(desc, header.n_descsz)};
        }
        offset = next;
    }
    return {};
}

int VisitModule(dl_phdr_info* module, std::size_t, void* data) {
    auto* search = static_cast<Search*>(data);
    if (!Contains(*module, search->self)) {
        return 0;
    }
    for (std::size_t k = 0; k < module->dlpi_phnum && search->record.empty(); ++k) {
        const ElfW(Phdr)& ph = module->dlpi_phdr[k];
        if (ph.p_type == PT_NOTE) {
            const auto* notes =
                reinterpret_cast<const unsigned char*>(module->dlpi_addr + ph.p_vaddr);
            search->record = FindRecord(notes, ph.p_memsz, ph.p_align);
        }
    }
    return 1; // this is our module: stop
}

} // namespace
} // namespace calvix

extern "C" CALVIX_API int32_t STM_GetDllVer(int32_t part) {
    calvix::Search search{reinterpret_cast<std::uintptr_t>(&STM_GetDllVer), {}};
    dl_iterate_phdr(calvix::VisitModule, &search);
    return calvix::VersionPart(search.record, part);
}
