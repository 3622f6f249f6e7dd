#include "core/QVL_ArchiveLibrary.h"

#include "core/QVL_LateLibrary.h"

namespace {

bool load(TQVL_ArchiveLibrary& library)
{
    void* handle = TQVL_LateLibrary::Open(QStringLiteral("libarchive.so.13"));
    const auto bind = [handle](auto& function, const char* name) {
        return TQVL_LateLibrary::Bind(handle, function, name);
    };
    return handle && bind(library.archive_error_string, "archive_error_string") &&
           bind(library.archive_entry_filetype, "archive_entry_filetype") &&
           bind(library.archive_entry_hardlink, "archive_entry_hardlink") &&
           bind(library.archive_entry_pathname, "archive_entry_pathname") &&
           bind(library.archive_entry_pathname_utf8, "archive_entry_pathname_utf8") &&
           bind(library.archive_entry_perm, "archive_entry_perm") &&
           bind(library.archive_entry_symlink, "archive_entry_symlink") &&
           bind(library.archive_read_data, "archive_read_data") &&
           bind(library.archive_read_free, "archive_read_free") &&
           bind(library.archive_read_new, "archive_read_new") &&
           bind(library.archive_read_next_header, "archive_read_next_header") &&
           bind(library.archive_read_open_filename, "archive_read_open_filename") &&
           bind(library.archive_read_support_filter_xz, "archive_read_support_filter_xz") &&
           bind(library.archive_read_support_format_tar, "archive_read_support_format_tar") &&
           bind(library.archive_write_new, "archive_write_new") &&
           bind(library.archive_write_set_format_zip, "archive_write_set_format_zip") &&
           bind(library.archive_write_open, "archive_write_open") &&
           bind(library.archive_write_header, "archive_write_header") &&
           bind(library.archive_write_data, "archive_write_data") &&
           bind(library.archive_write_close, "archive_write_close") &&
           bind(library.archive_write_free, "archive_write_free") &&
           bind(library.archive_entry_new, "archive_entry_new") &&
           bind(library.archive_entry_free, "archive_entry_free") &&
           bind(library.archive_entry_set_pathname, "archive_entry_set_pathname") &&
           bind(library.archive_entry_set_size, "archive_entry_set_size") &&
           bind(library.archive_entry_set_filetype, "archive_entry_set_filetype") &&
           bind(library.archive_entry_set_perm, "archive_entry_set_perm");
}

} // namespace

const TQVL_ArchiveLibrary* TQVL_ArchiveLibrary::Get()
{
    static TQVL_ArchiveLibrary library;
    static const bool loaded = load(library);
    return loaded ? &library : nullptr;
}
